// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/SerialForm.h"

#include "link/PortScan.h"
#include "link/ReplyBuffer.h"
#include "link/SerialPortIo.h"
#include "link/UserPrompt.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <utility>
#include <limits>

namespace {

const QString TimeoutText = QStringLiteral("TIMEOUT ERROR");
const QString DisconnectedText = QStringLiteral("Disconnected");

enum class Outcome { Waiting, Reply, Timeout, Overflow, Closed };

// The exchange that is on the wire. It lives on the stack of the call that sent it; the
// port's and the timer's handlers complete it through SerialForm::Private::active,
// whatever the depth of nested event loops at that moment.
struct ActiveExchange
{
    ReplyBuffer buffer{SerialForm::MaxReplyLength};
    Outcome outcome = Outcome::Waiting;
    QEventLoop loop;
    // Holds the line until it has gone quiet, taking no reply (see settle()).
    bool settling = false;
};

// An exchange waiting for the line to become free.
struct LineWaiter
{
    QEventLoop loop;
    bool woken = false;
};

struct ExchangeResult
{
    Outcome outcome = Outcome::Closed;
    QByteArray bytes;
};

// Decimal leading number of a text: blanks, tabs and line feeds ignored, then an optional
// sign, digits with at most one point, and an optional exponent ("E" or "D").
double leadingNumber(const QString &text)
{
    QString s;
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s += c;
    }
    QString number;
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        number += s[i++];
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i].isDigit() && s[i].unicode() < 128) {
            number += s[i];
            digits = true;
        } else if (s[i] == QLatin1Char('.') && !point) {
            number += s[i];
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && QStringLiteral("EeDd").contains(s[i])) {
        QString exponent = QStringLiteral("e");
        int j = i + 1;
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += s[j++];
        const int start = j;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128)
            exponent += s[j++];
        if (j > start)
            number += exponent;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

// Rounds halves to even; false when the value does not fit the integer type.
template <typename Int>
bool toInt(double value, Int *result)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
        return false;
    *result = static_cast<Int>(rounded);
    return true;
}

} // namespace

struct SerialForm::Private
{
    Private(SerialForm *owner, SerialPortIo *port, UserPrompt *userPrompt)
        : q(owner)
        , comm(port)
        , prompt(userPrompt)
        , scan(port)
    {
    }

    SerialForm *q;
    SerialPortIo *comm;
    UserPrompt *prompt;
    QPointer<QTimer> positionTimer;
    Timing timing;
    PauseFunction pause;
    // A pause keeps the line quiet for its time, counted from the end of the last exchange;
    // the wait itself happens just before the next message goes out. So the work done after
    // a reply (the item, the log, the progress) overlaps the wait instead of lengthening
    // it, and an exchange ends as soon as its reply is in.
    QElapsedTimer lineClock;
    qint64 quietSinceNs = -1; // the end of the last exchange; -1: not known
    qint64 pausedNs = 0;      // the pauses asked for since then

    void linePause(int ms)
    {
        if (ms <= 0)
            return;
        if (quietSinceNs < 0)
            quietSinceNs = lineClock.nsecsElapsed();
        pausedNs += qint64(ms) * 1000000;
    }

    // Lets pending layouts and repaints run first (nothing else: no input, timer or port
    // handler), so the window's drawing overlaps the wait too.
    void waitForQuietLine()
    {
        const qint64 until = quietSinceNs + pausedNs;
        pausedNs = 0;
        if (quietSinceNs < 0 || until <= lineClock.nsecsElapsed())
            return;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const qint64 leftUs = (until - lineClock.nsecsElapsed()) / 1000;
        if (leftUs > 0)
            QThread::usleep(static_cast<unsigned long>(leftUs));
    }

    void lineWentQuiet()
    {
        quietSinceNs = lineClock.nsecsElapsed();
    }

    PortScan scan;
    qint16 cur_port = 0;
    qint32 cur_baud = 0; // wider than the window's speeds need: a script may ask for 115200
    qint16 cur_nodeid = 0;
    QString version_text;
    bool write_protected = true;
    // Open write walks, and whether one of them has reported a refused "WE" already.
    int writeWalks = 0;
    bool weFailureReported = false;
    bool factory_command = false;
    QString rcvstring;
    bool linkOpen = false; // opened by open_qtx and not closed since

    ActiveExchange *active = nullptr;
    QList<LineWaiter *> lineWaiters;
    // The last exchange gave up on its reply, which may still be on its way: the device
    // answers in order, so the next exchange would take it for its own.
    int lateReplyWait = 0;
    QElapsedTimer settleClock;
    QTimer chunkTimer;
    int chunkWait = 0;

    void message(const QString &text, const QString &details = QString())
    {
        if (prompt)
            prompt->message(text, details);
    }

    void stopPositionTimer()
    {
        if (positionTimer)
            positionTimer->stop();
    }

    // Concatenated: the identity is the device's text and may hold "%1" of its own.
    QString connectedText() const
    {
        return QStringLiteral("Connected to ") + version_text + QStringLiteral(" on COM") + QString::number(cur_port)
            + QLatin1Char('@') + QString::number(cur_baud) + QStringLiteral("bps with Node ID ")
            + QString::number(cur_nodeid);
    }

    void finish(Outcome outcome)
    {
        ActiveExchange *exchange = active;
        if (!exchange)
            return;
        active = nullptr;
        chunkTimer.stop();
        exchange->outcome = outcome;
        exchange->loop.quit();
        for (LineWaiter *waiter : std::as_const(lineWaiters)) {
            waiter->woken = true;
            waiter->loop.quit();
        }
    }

    // Waits while another exchange is on the wire; false when the wait was cut short
    // because the application is leaving its event loops.
    bool waitForLine()
    {
        while (active) {
            LineWaiter waiter;
            lineWaiters.append(&waiter);
            waiter.loop.exec();
            lineWaiters.removeOne(&waiter);
            if (!waiter.woken)
                return false;
        }
        return true;
    }

    // Waits until the line has been quiet for the wait of the exchange that gave up,
    // dropping what arrives meanwhile, so a late reply is not taken by the next exchange.
    // A line that never goes quiet is given up on after twice that wait. False when the port
    // closed or the application is leaving its event loops.
    bool settle()
    {
        const int quiet = lateReplyWait;
        lateReplyWait = 0;
        ActiveExchange holder;
        holder.settling = true;
        active = &holder;
        chunkWait = quiet;
        settleClock.start();
        comm->readAll();
        chunkTimer.start(quiet);
        holder.loop.exec();
        if (holder.outcome == Outcome::Waiting)
            finish(Outcome::Closed);
        lineWentQuiet();
        return holder.outcome == Outcome::Timeout && comm->isOpen();
    }

    void noteGivenUp(int wait)
    {
        lateReplyWait = qMin(wait, MaxSettleMs);
    }

    static constexpr int MaxSettleMs = 2000;

    ExchangeResult exchange(const QString &message, int wait, bool pauseFirst)
    {
        ExchangeResult result;
        if (!comm->isOpen() || !waitForLine() || !comm->isOpen())
            return result;
        while (lateReplyWait > 0) {
            if (!settle() || !waitForLine() || !comm->isOpen())
                return result;
        }
        if (pauseFirst)
            pause(timing.pauseBefore);
        waitForQuietLine();
        comm->readAll();

        ActiveExchange exchange;
        active = &exchange;
        chunkWait = wait;
        const QByteArray wire = message.toLatin1() + '\r';
        if (comm->write(wire) != wire.size()) {
            portFailed();
            return result;
        }
        if (exchange.outcome == Outcome::Waiting) {
            chunkTimer.start(wait);
            exchange.loop.exec();
        }
        // Still waiting here means the application quit every event loop.
        if (exchange.outcome == Outcome::Waiting)
            finish(Outcome::Closed);
        lineWentQuiet();
        result.outcome = exchange.outcome;
        result.bytes = exchange.buffer.received();
        if (result.outcome == Outcome::Timeout || result.outcome == Outcome::Overflow)
            noteGivenUp(wait);
        return result;
    }

    bool plainExchange(const QString &sendstr, bool IndicateError, int wait)
    {
        const ExchangeResult result = exchange(sendstr, wait, true);
        switch (result.outcome) {
        case Outcome::Reply:
            rcvstring = ReplyBuffer::payload(result.bytes);
            pause(sendstr.size() >= 3 && sendstr.at(2) == QLatin1Char('S') ? timing.setCommandPause
                                                                            : timing.pauseAfter);
            emit q->exchanged(sendstr, rcvstring);
            return true;
        case Outcome::Timeout:
        case Outcome::Overflow:
            rcvstring = TimeoutText;
            emit q->exchangeFailed(sendstr, result.outcome == Outcome::Timeout
                                                ? QStringLiteral("no reply within %1 ms").arg(wait)
                                                : QStringLiteral("a reply of over %1 bytes without its end").arg(MaxReplyLength));
            if (IndicateError)
                message(QStringLiteral("Timeout sending message: ") + sendstr);
            return false;
        case Outcome::Waiting:
        case Outcome::Closed:
            break;
        }
        return false;
    }

    QString pollExchange(const QString &sendstr, bool IndicateError)
    {
        const ExchangeResult result = exchange(sendstr, timing.pollWait, false);
        switch (result.outcome) {
        case Outcome::Reply: {
            const QString payload = ReplyBuffer::payload(result.bytes);
            emit q->exchanged(sendstr, payload);
            return payload;
        }
        case Outcome::Timeout:
        case Outcome::Overflow:
            emit q->exchanged(sendstr, QString::fromLatin1(result.bytes) + QStringLiteral(" Timeout"));
            if (IndicateError)
                message(QStringLiteral("Timeout sending message: ") + sendstr);
            return QStringLiteral("No Magnet");
        case Outcome::Waiting:
        case Outcome::Closed:
            break;
        }
        return QString();
    }

    void readyRead()
    {
        const QByteArray data = comm->readAll();
        // Bytes with no exchange waiting (a late reply, a stray line feed) are dropped.
        if (!active || data.isEmpty())
            return;
        if (active->settling) {
            if (settleClock.elapsed() >= 2 * chunkWait)
                finish(Outcome::Timeout);
            else
                chunkTimer.start(chunkWait);
            return;
        }
        switch (active->buffer.append(data)) {
        case ReplyBuffer::State::Complete:
            finish(Outcome::Reply);
            break;
        case ReplyBuffer::State::Overflow:
            finish(Outcome::Overflow);
            break;
        case ReplyBuffer::State::Incomplete:
            chunkTimer.start(chunkWait);
            break;
        }
    }

    void portFailed(bool removed = false)
    {
        finish(Outcome::Closed);
        if (!linkOpen) {
            comm->close();
            return;
        }
        closeLink(removed ? QStringLiteral("COM%1 was removed").arg(cur_port) : DisconnectedText);
        emit q->connectionLost();
    }

    void closeLink(const QString &status)
    {
        stopPositionTimer();
        finish(Outcome::Closed);
        comm->close();
        linkOpen = false;
        // Whatever was still on its way is lost with the closed port.
        lateReplyWait = 0;
        emit q->statusText(status);
    }
};

SerialForm::SerialForm(SerialPortIo *comm, UserPrompt *prompt, QObject *parent)
    : QObject(parent)
    , d(new Private(this, comm, prompt))
{
    d->lineClock.start();
    d->pause = [this](int ms) { d->linePause(ms); };
    d->chunkTimer.setSingleShot(true);
    d->chunkTimer.setTimerType(Qt::PreciseTimer);
    connect(&d->chunkTimer, &QTimer::timeout, this, [this] { d->finish(Outcome::Timeout); });
    connect(comm, &SerialPortIo::readyRead, this, [this] { d->readyRead(); });
    connect(comm, &SerialPortIo::portFailed, this, [this] { d->portFailed(); });
    connect(comm, &SerialPortIo::portRemoved, this, [this] { d->portFailed(true); });
}

SerialForm::~SerialForm()
{
    d->finish(Outcome::Closed);
    delete d;
}

bool SerialForm::scan_ports()
{
    const bool any = d->scan.scan();
    d->write_protected = true;
    if (!any) {
        d->message(QStringLiteral("At least one COM port must be available. Please close any other "
                                  "programs that are using the COM port and try again."),
                   d->scan.details());
        return false;
    }
    return true;
}

bool SerialForm::scan_port(qint16 port)
{
    return d->scan.tryPort(port);
}

qint16 SerialForm::is_port_avail(qint16 port) const
{
    return d->scan.isAvailable(port) ? 1 : 0;
}

QString SerialForm::port_description(int port) const
{
    return d->comm->describePort(port);
}

QString SerialForm::scan_details() const
{
    return d->scan.details();
}

PortScan &SerialForm::port_scan()
{
    return d->scan;
}

bool SerialForm::open_qtx(const QString &portstr, const QString &baudstr, qint16 nodeid)
{
    d->stopPositionTimer();

    qint32 speed = 0;
    qint16 port = 1;
    const bool speedFits = toInt(leadingNumber(baudstr), &speed);
    const bool portFits = portstr.size() < 4 || toInt(leadingNumber(portstr.mid(3)), &port);
    if (!speedFits || !portFits || is_port_avail(port) == 0) {
        disconnect_qtx();
        return false;
    }

    if (d->comm->isOpen()) {
        d->finish(Outcome::Closed);
        d->comm->close();
    }
    d->comm->setPortNumber(port);
    d->cur_port = port;
    d->comm->setSettings(QString::number(speed) + QStringLiteral(",n,8,1"));
    d->cur_baud = speed;
    if (!d->comm->open()) {
        disconnect_qtx();
        return false;
    }
    d->linkOpen = true;
    d->lateReplyWait = d->timing.openQuiet;
    // A port just opened has no quiet time behind it: the first pause is waited in full.
    d->quietSinceNs = -1;
    d->pausedNs = 0;

    d->cur_nodeid = nodeid == -1 ? detect_nodeid() : nodeid;
    d->version_text = get_version();
    if (!d->version_text.startsWith(QStringLiteral("QTXv2"))) {
        disconnect_qtx();
        return false;
    }
    d->factory_command = detect_factory_command();
    d->write_protected = true;
    if (!is_connected()) {
        disconnect_qtx();
        return false;
    }
    emit statusText(d->connectedText());
    if (d->positionTimer)
        d->positionTimer->start();
    return true;
}

qint16 SerialForm::detect_nodeid()
{
    if (!sendrcv(QStringLiteral("$0RID"), false))
        return 0;
    qint16 id = 0;
    if (d->rcvstring.size() != 1 || !toInt(leadingNumber(d->rcvstring), &id))
        return 0;
    return id;
}

QString SerialForm::get_version()
{
    // A port closed during the query must not leave an earlier identity in place.
    if (!sendrcv_nodeid(QStringLiteral("RMV"), false) && !is_connected())
        return QString();
    return d->rcvstring;
}

bool SerialForm::detect_factory_command()
{
    return sendrcv_nodeid(QStringLiteral("RFD"), false);
}

bool SerialForm::is_connected() const
{
    return d->comm->isOpen();
}

void SerialForm::disconnect_qtx()
{
    d->closeLink(DisconnectedText);
}

qint16 SerialForm::get_nodeid() const
{
    return d->cur_nodeid;
}

bool SerialForm::sendrcv(const QString &sendstr, bool IndicateError)
{
    return d->plainExchange(sendstr, IndicateError, d->timing.plainWait);
}

bool SerialForm::sendrcv_long(const QString &sendstr, bool IndicateError)
{
    return d->plainExchange(sendstr, IndicateError, d->timing.longWait);
}

bool SerialForm::sendrcv_nodeid(const QString &sendstr, bool IndicateError)
{
    return sendrcv(QLatin1Char('$') + QString::number(d->cur_nodeid) + sendstr, IndicateError);
}

bool SerialForm::sendrcv_long_nodeid(const QString &sendstr, bool IndicateError)
{
    return sendrcv_long(QLatin1Char('$') + QString::number(d->cur_nodeid) + sendstr, IndicateError);
}

QString SerialForm::sendrcv_timer(const QString &sendstr, bool IndicateError)
{
    return d->pollExchange(sendstr, IndicateError);
}

void SerialForm::write_enable(bool enable)
{
    // With the port closed nothing can be sent, and the write that follows is not sent
    // either: there is nothing to report, and a download would report it for every item.
    if (!is_connected())
        return;
    if (enable && d->write_protected) {
        if (sendrcv_nodeid(QStringLiteral("WE"), false)) {
            d->write_protected = false;
            d->weFailureReported = false;
        } else if (is_connected() && !(d->writeWalks > 0 && d->weFailureReported)) {
            d->weFailureReported = d->writeWalks > 0;
            d->message(QStringLiteral("Could not un-writeprotect"));
        }
    } else if (!enable && !d->write_protected) {
        if (sendrcv_nodeid(QStringLiteral("WP"), false))
            d->write_protected = true;
        else
            d->message(QStringLiteral("Could not writeprotect"));
    }
}

void SerialForm::begin_write_walk()
{
    if (d->writeWalks++ == 0)
        d->weFailureReported = false;
}

void SerialForm::end_write_walk()
{
    if (d->writeWalks > 0 && --d->writeWalks == 0)
        d->weFailureReported = false;
}

void SerialForm::reset_wp()
{
    d->write_protected = true;
}

bool SerialForm::change_nodeid(qint16 new_id)
{
    const bool timerWasRunning = d->positionTimer && d->positionTimer->isActive();
    d->stopPositionTimer();

    write_enable(true);
    // An empty payload is the acceptance; a closed port leaves rcvstring as it was, so the
    // exchange's own result must be true as well.
    const bool accepted = sendrcv_nodeid(QStringLiteral("SID") + QString::number(new_id), false)
                          && d->rcvstring.isEmpty();
    if (accepted) {
        d->cur_nodeid = new_id;
        emit statusText(d->connectedText());
    } else {
        d->message(QStringLiteral("Could not change node ID"));
    }

    if (timerWasRunning && d->positionTimer && is_connected())
        d->positionTimer->start();
    return accepted;
}

QString SerialForm::rcvstring() const
{
    return d->rcvstring;
}

bool SerialForm::factory_command() const
{
    return d->factory_command;
}

bool SerialForm::write_protected() const
{
    return d->write_protected;
}

QString SerialForm::version_text() const
{
    return d->version_text;
}

qint16 SerialForm::cur_port() const
{
    return d->cur_port;
}

qint32 SerialForm::cur_baud() const
{
    return d->cur_baud;
}

bool SerialForm::is_busy() const
{
    return d->active || !d->lineWaiters.isEmpty();
}

void SerialForm::setPositionTimer(QTimer *timer)
{
    d->positionTimer = timer;
}

void SerialForm::setTiming(const Timing &timing)
{
    d->timing = timing;
}

SerialForm::Timing SerialForm::timing() const
{
    return d->timing;
}

void SerialForm::setPauseFunction(PauseFunction pause)
{
    d->pause = pause ? std::move(pause) : PauseFunction([](int) {});
}

QString SerialForm::classify_reply(const QByteArray &reply)
{
    return ReplyBuffer::payload(reply);
}
