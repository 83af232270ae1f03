// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/PortDirectory.h"
#include "link/SerialPortIo.h"

#include <QSerialPort>

// The real serial port: port numbers resolved through a PortDirectory, line settings from
// a text such as "19200,n,8,1", no flow control and no modem line of its own.
class QtSerialPortIo : public SerialPortIo
{
    Q_OBJECT
public:
    explicit QtSerialPortIo(QObject *parent = nullptr);
    QtSerialPortIo(const PortDirectory &directory, QObject *parent = nullptr);

    void setPortNumber(int number) override;
    int portNumber() const override;
    void setSettings(const QString &settings) override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    OpenFailure lastOpenFailure() const override;
    QString lastErrorText() const override;

    qint64 write(const QByteArray &data) override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;

    QString describePort(int number) const override;
    QStringList portDetails(int number) const override;
    bool portPresent(int number) const override;
    void refreshPorts() override;

private:
    bool applySettings();
    void fail(OpenFailure failure, const QString &text);
    void onError(QSerialPort::SerialPortError error);

    PortDirectory m_directory;
    QSerialPort m_port;
    int m_number = 1;
    QString m_location; // of the port opened last
    QString m_settings = QStringLiteral("19200,n,8,1");
    OpenFailure m_failure = OpenFailure::None;
    QString m_errorText;
    bool m_failing = false; // a failure of the open port is being reported
};
