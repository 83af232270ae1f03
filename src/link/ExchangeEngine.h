// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class SerialPortIo;

// The exchange on the line: one framed message out, one reply in. The wait for the reply
// runs a local event loop driven by the port's notifications and a timer, so the program
// stays live and no core spins. One exchange is on the wire at a time: another asked for
// meanwhile (from an event handled during the wait) waits for the line, then goes.
//
// Pauses keep the line quiet for their time, counted from the end of the last exchange,
// and are waited out just before the next message goes out: the work done after a reply
// (the setting, the log, the progress) overlaps the pause instead of lengthening it.
// A reply an exchange gave up on may still be on its way; the device answers in order, so
// the line is held quiet (what arrives dropped) before the next message.
class ExchangeEngine : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Reply, Timeout, Overflow, Closed };
    struct Result
    {
        Outcome outcome = Outcome::Closed;
        QByteArray bytes; // what came in, the whole reply for Reply
    };

    // A reply that grows past this many bytes without its carriage return is a failed
    // exchange; the buffer never grows beyond it.
    static constexpr int MaxReplyLength = 4096;

    // Sleeps for the pauses around an exchange; tests install one that records them.
    using PauseFunction = std::function<void(int ms)>;

    explicit ExchangeEngine(SerialPortIo *port, QObject *parent = nullptr);
    ~ExchangeEngine() override;

    // message + CR out, the reply (up to its CR) in, each chunk within waitMs of the last;
    // pauseBeforeMs of quiet line first (0 for none). Closed: the port is or went closed,
    // or the application is leaving its event loops.
    Result exchange(const QString &message, int waitMs, int pauseBeforeMs);
    // The line is kept quiet this long after the exchange that just ended.
    void pause(int ms);
    void setPauseFunction(PauseFunction pause);

    // The port was just opened: no quiet time is behind it, and the line is held quiet for
    // quietMs before the first message (a reply left by another program's exchange).
    void lineOpened(int quietMs);
    // The port closed or failed: a waiting exchange ends Closed, and what was on its way
    // is gone with the port.
    void lineClosed();
    // An exchange is on the wire or waiting for it.
    bool isBusy() const;

signals:
    // The line is about to be held quiet for a pause: the program's own pending work
    // (a window's layouts and repaints) may run now, overlapping the pause.
    void idle();
    // A message could not be written whole: the port has failed.
    void writeFailed();

private:
    struct Active;
    struct Waiter;

    void linePause(int ms);
    void waitForQuietLine();
    void lineWentQuiet();
    void finish(Outcome outcome);
    bool waitForLine();
    bool settle();
    void readyRead();

    SerialPortIo *m_port;
    PauseFunction m_pause;
    QElapsedTimer m_lineClock;
    qint64 m_quietSinceNs = -1; // the end of the last exchange; -1: not known
    qint64 m_pausedNs = 0;      // the pauses asked for since then
    Active *m_active = nullptr;
    QList<Waiter *> m_waiters;
    int m_lateReplyWait = 0; // hold the line quiet this long before the next message
    QElapsedTimer m_settleClock;
    QTimer m_chunkTimer;
    int m_chunkWait = 0;
};
