// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/ExchangeEngine.h"

#include "link/ReplyBuffer.h"
#include "link/SerialPortIo.h"

#include <QEventLoop>
#include <QThread>

namespace {

// A line that never goes quiet is given up on after twice this.
constexpr int MaxSettleMs = 2000;

enum class State { Waiting, Reply, Timeout, Overflow, Closed };

} // namespace

// The exchange that is on the wire. It lives on the stack of the call that sent it; the
// port's and the timer's handlers complete it through m_active, whatever the depth of
// nested event loops at that moment.
struct ExchangeEngine::Active
{
    ReplyBuffer buffer{MaxReplyLength};
    State state = State::Waiting;
    QEventLoop loop;
    // Holds the line until it has gone quiet, taking no reply (see settle()).
    bool settling = false;
};

// An exchange waiting for the line to become free.
struct ExchangeEngine::Waiter
{
    QEventLoop loop;
    bool woken = false;
};

ExchangeEngine::ExchangeEngine(SerialPortIo *port, QObject *parent) : QObject(parent), m_port(port)
{
    m_lineClock.start();
    m_pause = [this](int ms) { linePause(ms); };
    m_chunkTimer.setSingleShot(true);
    m_chunkTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_chunkTimer, &QTimer::timeout, this, [this] { finish(Outcome::Timeout); });
    connect(port, &SerialPortIo::readyRead, this, &ExchangeEngine::readyRead);
}

ExchangeEngine::~ExchangeEngine()
{
    finish(Outcome::Closed);
}

void ExchangeEngine::setPauseFunction(PauseFunction pause)
{
    m_pause = pause ? std::move(pause) : PauseFunction([](int) {});
}

void ExchangeEngine::pause(int ms)
{
    m_pause(ms);
}

void ExchangeEngine::linePause(int ms)
{
    if (ms <= 0)
        return;
    if (m_quietSinceNs < 0)
        m_quietSinceNs = m_lineClock.nsecsElapsed();
    m_pausedNs += qint64(ms) * 1000000;
}

void ExchangeEngine::waitForQuietLine()
{
    const qint64 until = m_quietSinceNs + m_pausedNs;
    m_pausedNs = 0;
    if (m_quietSinceNs < 0 || until <= m_lineClock.nsecsElapsed())
        return;
    emit idle();
    const qint64 leftUs = (until - m_lineClock.nsecsElapsed()) / 1000;
    if (leftUs > 0)
        QThread::usleep(static_cast<unsigned long>(leftUs));
}

void ExchangeEngine::lineWentQuiet()
{
    m_quietSinceNs = m_lineClock.nsecsElapsed();
}

void ExchangeEngine::lineOpened(int quietMs)
{
    m_lateReplyWait = qMin(quietMs, MaxSettleMs);
    // The first pause is waited in full.
    m_quietSinceNs = -1;
    m_pausedNs = 0;
}

void ExchangeEngine::lineClosed()
{
    finish(Outcome::Closed);
    m_lateReplyWait = 0;
}

bool ExchangeEngine::isBusy() const
{
    return m_active || !m_waiters.isEmpty();
}

void ExchangeEngine::finish(Outcome outcome)
{
    Active *exchange = m_active;
    if (!exchange)
        return;
    m_active = nullptr;
    m_chunkTimer.stop();
    exchange->state = outcome == Outcome::Reply      ? State::Reply
                      : outcome == Outcome::Timeout  ? State::Timeout
                      : outcome == Outcome::Overflow ? State::Overflow
                                                     : State::Closed;
    exchange->loop.quit();
    for (Waiter *waiter : std::as_const(m_waiters)) {
        waiter->woken = true;
        waiter->loop.quit();
    }
}

// Waits while another exchange is on the wire; false when the wait was cut short because
// the application is leaving its event loops.
bool ExchangeEngine::waitForLine()
{
    while (m_active) {
        Waiter waiter;
        m_waiters.append(&waiter);
        waiter.loop.exec();
        m_waiters.removeOne(&waiter);
        if (!waiter.woken)
            return false;
    }
    return true;
}

// Waits until the line has been quiet for the wait of the exchange that gave up, dropping
// what arrives meanwhile. False when the port closed or the application is leaving its
// event loops.
bool ExchangeEngine::settle()
{
    const int quiet = m_lateReplyWait;
    m_lateReplyWait = 0;
    Active holder;
    holder.settling = true;
    m_active = &holder;
    m_chunkWait = quiet;
    m_settleClock.start();
    m_port->readAll();
    m_chunkTimer.start(quiet);
    holder.loop.exec();
    if (holder.state == State::Waiting)
        finish(Outcome::Closed);
    lineWentQuiet();
    return holder.state == State::Timeout && m_port->isOpen();
}

ExchangeEngine::Result ExchangeEngine::exchange(const QString &message, int waitMs, int pauseBeforeMs)
{
    Result result;
    if (!m_port->isOpen() || !waitForLine() || !m_port->isOpen())
        return result;
    while (m_lateReplyWait > 0) {
        if (!settle() || !waitForLine() || !m_port->isOpen())
            return result;
    }
    if (pauseBeforeMs > 0)
        pause(pauseBeforeMs);
    waitForQuietLine();
    m_port->readAll();

    Active exchange;
    m_active = &exchange;
    m_chunkWait = waitMs;
    const QByteArray wire = message.toLatin1() + '\r';
    if (m_port->write(wire) != wire.size()) {
        finish(Outcome::Closed);
        emit writeFailed();
        return result;
    }
    if (exchange.state == State::Waiting) {
        m_chunkTimer.start(waitMs);
        exchange.loop.exec();
    }
    // Still waiting here means the application quit every event loop.
    if (exchange.state == State::Waiting)
        finish(Outcome::Closed);
    lineWentQuiet();
    result.bytes = exchange.buffer.received();
    switch (exchange.state) {
    case State::Reply:
        result.outcome = Outcome::Reply;
        break;
    case State::Timeout:
    case State::Overflow:
        result.outcome = exchange.state == State::Timeout ? Outcome::Timeout : Outcome::Overflow;
        m_lateReplyWait = qMin(waitMs, MaxSettleMs);
        break;
    case State::Waiting:
    case State::Closed:
        result.outcome = Outcome::Closed;
        break;
    }
    return result;
}

void ExchangeEngine::readyRead()
{
    const QByteArray data = m_port->readAll();
    // Bytes with no exchange waiting (a late reply, a stray line feed) are dropped.
    if (!m_active || data.isEmpty())
        return;
    if (m_active->settling) {
        if (m_settleClock.elapsed() >= 2 * m_chunkWait)
            finish(Outcome::Timeout);
        else
            m_chunkTimer.start(m_chunkWait);
        return;
    }
    switch (m_active->buffer.append(data)) {
    case ReplyBuffer::State::Complete:
        finish(Outcome::Reply);
        break;
    case ReplyBuffer::State::Overflow:
        finish(Outcome::Overflow);
        break;
    case ReplyBuffer::State::Incomplete:
        m_chunkTimer.start(m_chunkWait);
        break;
    }
}
