// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// The serial port service the link needs: select a port by number 1 to 16, set the
// line settings from a text such as "19200,n,8,1", open, close, write, count and read
// waiting bytes. QtSerialPortIo drives a real port; the simulated device's in-process
// port stands in for it in tests.
class SerialPortIo : public QObject
{
    Q_OBJECT
public:
    enum class OpenFailure { None, Absent, Busy, Permission, Other };

    using QObject::QObject;
    ~SerialPortIo() override = default;

    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // "speed,parity,databits,stopbits", for example "19200,n,8,1".
    virtual void setSettings(const QString &settings) = 0;

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Why the last open() failed, and a sentence for the user.
    virtual OpenFailure lastOpenFailure() const = 0;
    virtual QString lastErrorText() const = 0;

    virtual qint64 write(const QByteArray &data) = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray readAll() = 0;

    // The system device that port number n stands for ("/dev/ttyUSB0"), empty if none.
    virtual QString describePort(int number) const = 0;
    // What port n is beyond its device: maker, product, serial number, stable name.
    virtual QStringList portDetails(int number) const { Q_UNUSED(number) return {}; }
    // Whether something stands behind port n now, to be opened.
    virtual bool portPresent(int number) const { return !describePort(number).isEmpty(); }
    // Takes a new look at the ports there are; numbers of ports still there stay.
    virtual void refreshPorts() {}

signals:
    void readyRead();
    // The open port failed (a line error that would not clear); the link closes it.
    void portFailed(const QString &reason);
    // The open port's device went away (adapter unplugged); the link closes it.
    void portRemoved();
};
