// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReplyPacer.h"

ReplyPacer::ReplyPacer(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReplyPacer::tick);
    m_clock.start();
}

void ReplyPacer::setLineRate(int baud)
{
    m_baud = qMax(0, baud);
}

int ReplyPacer::lineRate() const
{
    return m_baud;
}

void ReplyPacer::send(const Qtx2Device::Reply &reply)
{
    // A new reply ends the filler of a never-ending one; its own bytes still go first.
    if (m_active && m_current.endless && m_left.isEmpty())
        m_active = false;
    m_queue.append({reply, m_clock.elapsed() + qMax(0, reply.latencyMs)});
    if (!m_active)
        schedule();
}

void ReplyPacer::cancel()
{
    ++m_generation;
    m_queue.clear();
    m_active = false;
    m_left.clear();
    m_timer.stop();
}

bool ReplyPacer::busy() const
{
    return m_active || !m_queue.isEmpty();
}

int ReplyPacer::lineTimeMs(int bytes) const
{
    if (m_baud <= 0 || bytes <= 0)
        return 0;
    return int((qint64(bytes) * 10 * 1000 + m_baud - 1) / m_baud);
}

void ReplyPacer::schedule()
{
    ++m_generation;
    m_timer.stop();
    if (m_queue.isEmpty()) {
        m_active = false;
        return;
    }
    const Pending next = m_queue.takeFirst();
    m_active = true;
    m_current = next.reply;
    m_left = next.reply.bytes;
    m_chunkLeft = m_current.chunkSize > 0 ? m_current.chunkSize : int(m_left.size());
    m_pieceDue = qMax(next.dueAt, m_freeAt);
    m_timer.start(int(qMax<qint64>(0, m_pieceDue - m_clock.elapsed())));
}

void ReplyPacer::tick()
{
    if (!m_active)
        return;
    if (m_left.isEmpty() && !m_current.endless) {
        // A reply with nothing to say, there only to carry the pulled cable.
        const quint64 generation = m_generation;
        if (m_current.pullCableAfter)
            emit pullCable();
        if (generation == m_generation)
            schedule();
        return;
    }
    if (m_left.isEmpty()) { // the never-ending part: filler, never a CR
        static const QByteArray filler("0123456789ABCDEF");
        m_left = filler.left(m_current.chunkSize > 0 ? qMin(m_current.chunkSize, FillerChunk)
                                                     : FillerChunk);
        m_chunkLeft = int(m_left.size());
    }

    int n = qMin(m_chunkLeft, int(m_left.size()));
    if (m_baud > 0)
        n = qMin(n, qMax(1, m_baud / 10 / 200)); // about 5 ms of line time a piece
    const QByteArray piece = m_left.left(n);
    m_left.remove(0, n);
    m_chunkLeft -= n;
    // Pieces follow each other on the line's own schedule: a timer that fires late is made
    // up by the next piece, so lateness does not add up over a long reply.
    const int lineMs = lineTimeMs(n);
    const qint64 now = m_clock.elapsed();
    if (m_pieceDue < now - lineMs)
        m_pieceDue = now; // the line stood idle (a gap or the filler): start afresh
    m_freeAt = m_pieceDue + lineMs;

    int delay = lineMs;
    if (m_left.isEmpty() && m_current.endless)
        delay += qMax(m_current.chunkGapMs, FillerIntervalMs);
    else if (m_chunkLeft <= 0 && !m_left.isEmpty()) {
        delay += m_current.chunkGapMs;
        m_chunkLeft = m_current.chunkSize > 0 ? m_current.chunkSize : int(m_left.size());
    }

    const bool done = m_left.isEmpty() && !m_current.endless;
    const quint64 generation = m_generation;
    emit output(piece); // a slot may cancel() or send(), which may start another reply
    if (generation != m_generation)
        return;
    if (done) {
        if (m_current.pullCableAfter) {
            emit pullCable();
            if (generation != m_generation)
                return;
        }
        schedule();
        return;
    }
    m_pieceDue += delay;
    m_timer.start(int(qMax<qint64>(0, m_pieceDue - m_clock.elapsed())));
}
