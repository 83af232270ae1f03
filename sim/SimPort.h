// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Qtx2Device.h"
#include "ReplyPacer.h"
#include "link/SerialPortIo.h"

#include <QList>
#include <QStringList>

#include <memory>

// An in-process serial port with a simulated QTX2 at the other end, for tests and demos
// without hardware. Written bytes go to the device at once; its replies come back through
// the event loop with the device's latency and chunking, and raise readyRead.
class SimPort : public SerialPortIo
{
    Q_OBJECT
public:
    static constexpr int MaxBuffered = 65536;

    explicit SimPort(QObject *parent = nullptr);
    // Works on a device owned elsewhere, which must outlive the port.
    explicit SimPort(Qtx2Device *device, QObject *parent = nullptr);
    ~SimPort() override;

    Qtx2Device &device();

    // Port numbers that open (default: only 1); others fail as Absent. An open port left
    // out is an adapter pulled out: it reports its removal and takes no more bytes.
    void setAvailablePorts(const QList<int> &numbers);
    // Ports that exist but refuse to open as Busy.
    void setBusyPorts(const QList<int> &numbers);
    // Line-time emulation at this speed (0: replies arrive without line time).
    void setLineRate(int baud);

    void setPortNumber(int number) override;
    int portNumber() const override;
    void setSettings(const QString &settings) override;
    QString settings() const;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    OpenFailure lastOpenFailure() const override;
    QString lastErrorText() const override;

    qint64 write(const QByteArray &data) override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;

    QString describePort(int number) const override;
    bool portPresent(int number) const override;

    // Every byte written while the port was open, and the same split into messages
    // (without their CR).
    QByteArray wire() const;
    QStringList sentMessages() const;
    void clearWire();
    int openCount() const;

    // The cable comes off: the open port fails, writes fail, and open() fails until
    // plugCable().
    void pullCable();
    void plugCable();
    bool cablePulled() const;

    // Unsolicited bytes from the device's side (noise, a late reply).
    void inject(const QByteArray &bytes);

private:
    void deliver(const QByteArray &bytes);

    std::unique_ptr<Qtx2Device> m_owned;
    Qtx2Device *m_device;
    ReplyPacer m_pacer;
    QList<int> m_available{1};
    QList<int> m_busy;
    int m_number = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_open = false;
    bool m_pulled = false;
    OpenFailure m_failure = OpenFailure::None;
    QString m_errorText;
    QByteArray m_rx;
    QByteArray m_wire;
    int m_opens = 0;
};
