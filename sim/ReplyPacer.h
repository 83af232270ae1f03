// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Qtx2Device.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

// Gives the device's replies their timing on the way out: the latency before the first
// byte, pieces of a chunked reply with their gaps, the time each byte takes on the line
// when a line speed is set, and the filler of a reply that never ends. Replies leave in
// the order they were made, one after the other, through the event loop.
class ReplyPacer : public QObject
{
    Q_OBJECT
public:
    static constexpr int FillerIntervalMs = 20;
    static constexpr int FillerChunk = 16;

    explicit ReplyPacer(QObject *parent = nullptr);

    // Bits per second for the line-time emulation (10 bit times a byte); 0: no line time.
    void setLineRate(int baud);
    int lineRate() const;

    void send(const Qtx2Device::Reply &reply);
    // Drops every reply not yet out and stops a never-ending one.
    void cancel();
    bool busy() const;

signals:
    void output(const QByteArray &bytes);
    // A reply marked for it is out: the cable comes off now.
    void pullCable();

private:
    struct Pending
    {
        Qtx2Device::Reply reply;
        qint64 dueAt = 0;
    };

    void schedule();
    void tick();
    int lineTimeMs(int bytes) const;

    QList<Pending> m_queue;
    bool m_active = false;
    Qtx2Device::Reply m_current;
    QByteArray m_left;      // bytes of the current reply still to go
    int m_chunkLeft = 0;    // of the current piece
    qint64 m_pieceDue = 0; // when the current piece is due on the line
    qint64 m_freeAt = 0;    // the line is busy until then
    int m_baud = 0;
    quint64 m_generation = 0; // changes whenever the reply being sent changes
    QTimer m_timer;
    QElapsedTimer m_clock;
};
