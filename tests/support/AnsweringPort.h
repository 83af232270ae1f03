// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/SerialPortIo.h"

#include <QHash>
#include <QStringList>
#include <QTimer>

#include <functional>

// A port whose device is a function: each message sent (without its CR) is recorded and
// answered with what the function returns, through the event loop; empty means silence.
// For cases the simulated device cannot play (node IDs beyond 9, replies it never gives).
class AnsweringPort : public SerialPortIo
{
public:
    std::function<QByteArray(const QString &message)> device;
    QStringList sent;
    int replyDelayMs = 0;
    QString settings;
    QHash<int, OpenFailure> refused; // port numbers that do not open, and why

    // Answers from a script "message>payload;message>payload": "*" + payload + CR, or
    // silence for "-" and for messages not in the script.
    void answer(const QString &script)
    {
        QHash<QString, QByteArray> replies;
        for (const QString &pair : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString payload = pair.section(QLatin1Char('>'), 1);
            if (payload != QLatin1String("-"))
                replies.insert(pair.section(QLatin1Char('>'), 0, 0), '*' + payload.toLatin1() + '\r');
        }
        device = [replies](const QString &message) { return replies.value(message); };
    }

    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    void setSettings(const QString &text) override { settings = text; }
    bool open() override
    {
        m_failure = refused.value(m_number, OpenFailure::None);
        return m_open = m_failure == OpenFailure::None;
    }
    void close() override
    {
        m_open = false;
        m_in.clear();
    }
    bool isOpen() const override { return m_open; }
    OpenFailure lastOpenFailure() const override { return m_failure; }
    QString lastErrorText() const override { return m_failure == OpenFailure::None ? QString() : QStringLiteral("refused"); }
    qint64 write(const QByteArray &data) override
    {
        m_line += data;
        for (int cr = m_line.indexOf('\r'); cr >= 0; cr = m_line.indexOf('\r')) {
            const QString message = QString::fromLatin1(m_line.left(cr));
            m_line.remove(0, cr + 1);
            sent << message;
            const QByteArray reply = device ? device(message) : QByteArray();
            if (!reply.isEmpty())
                QTimer::singleShot(replyDelayMs, this, [this, reply] {
                    if (m_open) {
                        m_in += reply;
                        emit readyRead();
                    }
                });
        }
        return data.size();
    }
    qint64 bytesAvailable() const override { return m_in.size(); }
    QByteArray readAll() override { return std::exchange(m_in, {}); }
    QString describePort(int number) const override { return QStringLiteral("/dev/answering%1").arg(number); }

private:
    int m_number = 1;
    bool m_open = false;
    OpenFailure m_failure = OpenFailure::None;
    QByteArray m_line;
    QByteArray m_in;
};
