#pragma once

#include "link/SerialPortIo.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QTimer>

// A SerialPortIo for tests: records every byte written and answers each message (the
// bytes before a carriage return) from a script. transcript lists what crossed the line
// in order: "> message" for each message sent, "< bytes" for each chunk delivered; tests
// may add their own entries to it.
class ScriptedPort : public SerialPortIo
{
public:
    struct Reply
    {
        QList<QByteArray> chunks; // none: the device stays silent
        int delayMs = 0;          // before the first chunk
        int gapMs = 0;            // between chunks
    };

    using SerialPortIo::SerialPortIo;

    // The reply to one message, replacing any earlier script for it.
    void script(const QByteArray &message, const Reply &reply) { m_script[message] = {reply}; }
    // Replies used in turn; the last one then repeats.
    void scriptInTurn(const QByteArray &message, const QList<Reply> &replies) { m_script[message] = replies; }
    void answer(const QByteArray &message, const QByteArray &reply, int delayMs = 0)
    {
        script(message, Reply{{reply}, delayMs, 0});
    }
    void silence(const QByteArray &message) { script(message, Reply{}); }
    void forget(const QByteArray &message) { m_script.remove(message); }

    void setPresent(const QSet<int> &ports) { m_present = ports; }
    void refuse(int port, OpenFailure failure, const QString &text) { m_refused[port] = {failure, text}; }

    // The cable is pulled: the port closes and reports the failure.
    void pull()
    {
        closePort();
        emit portFailed(QStringLiteral("cable pulled"));
    }

    QList<QByteArray> messages() const
    {
        QList<QByteArray> list = wire.split('\r');
        list.removeLast();
        return list;
    }

    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    void setSettings(const QString &text) override { settings = text; }

    bool open() override
    {
        m_failure = OpenFailure::None;
        m_errorText.clear();
        if (m_refused.contains(m_number)) {
            m_failure = m_refused[m_number].first;
            m_errorText = m_refused[m_number].second;
            return false;
        }
        if (!m_present.contains(m_number)) {
            m_failure = OpenFailure::Absent;
            m_errorText = QStringLiteral("no such port");
            return false;
        }
        ++openCount;
        m_open = true;
        ++m_generation;
        return true;
    }
    void close() override { closePort(); }
    bool isOpen() const override { return m_open; }
    OpenFailure lastOpenFailure() const override { return m_failure; }
    QString lastErrorText() const override { return m_errorText; }

    qint64 write(const QByteArray &data) override
    {
        if (!m_open || failWrites)
            return -1;
        wire += data;
        m_pending += data;
        qsizetype cr;
        while ((cr = m_pending.indexOf('\r')) >= 0) {
            const QByteArray message = m_pending.left(cr);
            m_pending.remove(0, cr + 1);
            transcript << QStringLiteral("> ") + QString::fromLatin1(message);
            respond(message);
        }
        return data.size();
    }
    qint64 bytesAvailable() const override { return m_inbound.size(); }
    QByteArray readAll() override
    {
        const QByteArray bytes = m_inbound;
        m_inbound.clear();
        return bytes;
    }
    QString describePort(int number) const override { return QStringLiteral("/dev/scripted%1").arg(number); }

    QByteArray wire;
    QStringList transcript;
    QString settings;
    bool failWrites = false;
    int openCount = 0;

private:
    void closePort()
    {
        m_open = false;
        ++m_generation;
        m_inbound.clear();
        m_pending.clear();
    }

    void respond(const QByteArray &message)
    {
        auto it = m_script.find(message);
        if (it == m_script.end() || it->isEmpty())
            return;
        const Reply reply = it->size() > 1 ? it->takeFirst() : it->first();
        deliver(reply, 0, reply.delayMs, m_generation);
    }

    void deliver(const Reply &reply, int index, int delayMs, int generation)
    {
        if (index >= reply.chunks.size())
            return;
        QTimer::singleShot(delayMs, this, [this, reply, index, generation] {
            if (generation != m_generation || !m_open)
                return;
            // The next chunk is timed from this one, as a device paces its output.
            deliver(reply, index + 1, reply.gapMs, generation);
            m_inbound += reply.chunks.at(index);
            transcript << QStringLiteral("< ") + QString::fromLatin1(reply.chunks.at(index));
            emit readyRead();
        });
    }

    QHash<QByteArray, QList<Reply>> m_script;
    QSet<int> m_present{1};
    QHash<int, QPair<OpenFailure, QString>> m_refused;
    int m_number = 1;
    bool m_open = false;
    int m_generation = 0;
    OpenFailure m_failure = OpenFailure::None;
    QString m_errorText;
    QByteArray m_pending;
    QByteArray m_inbound;
};
