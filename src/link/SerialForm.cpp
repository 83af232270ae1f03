// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/SerialForm.h"

#include "link/BusyGuard.h"
#include "link/ExchangeEngine.h"
#include "link/LeadingNumber.h"
#include "link/PortDirectory.h"
#include "link/PortScan.h"
#include "link/ReplyBuffer.h"
#include "link/SerialPortIo.h"
#include "link/UserPrompt.h"

#include <QPointer>

#include <cmath>
#include <limits>

namespace {

const QString TimeoutText = QStringLiteral("TIMEOUT ERROR");
const QString DisconnectedText = QStringLiteral("Disconnected");

using Outcome = ExchangeEngine::Outcome;

} // namespace

struct SerialForm::Private
{
    Private(SerialForm *owner, SerialPortIo *port, UserPrompt *userPrompt)
        : q(owner), comm(port), prompt(userPrompt), engine(port), scan(port)
    {
    }

    SerialForm *q;
    SerialPortIo *comm;
    UserPrompt *prompt;
    ExchangeEngine engine;
    PortScan scan;
    QPointer<BusyGuard> guard;
    Timing timing;

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

    void message(const QString &text, const QString &details = QString())
    {
        if (prompt)
            prompt->message(text, details);
    }

    void setLineFree(bool free)
    {
        if (guard)
            guard->setFree(free);
    }

    // Concatenated: the identity is the device's text and may hold "%1" of its own.
    QString connectedText() const
    {
        return QStringLiteral("Connected to ") + version_text + QStringLiteral(" on ") + PortDirectory::portName(cur_port)
            + QLatin1Char('@') + QString::number(cur_baud) + QStringLiteral("bps with Node ID ")
            + QString::number(cur_nodeid);
    }

    bool plainExchange(const QString &sendstr, bool IndicateError, int wait)
    {
        const ExchangeEngine::Result result = engine.exchange(sendstr, wait, timing.pauseBefore);
        switch (result.outcome) {
        case Outcome::Reply:
            rcvstring = ReplyBuffer::payload(result.bytes);
            engine.pause(sendstr.size() >= 3 && sendstr.at(2) == QLatin1Char('S') ? timing.setCommandPause
                                                                                   : timing.pauseAfter);
            emit q->exchanged(sendstr, rcvstring);
            return true;
        case Outcome::Timeout:
        case Outcome::Overflow:
            rcvstring = TimeoutText;
            emit q->exchangeFailed(sendstr, result.outcome == Outcome::Timeout
                                                ? QStringLiteral("no reply within %1 ms").arg(wait)
                                                : QStringLiteral("a reply of over %1 bytes without its end")
                                                      .arg(ExchangeEngine::MaxReplyLength));
            if (IndicateError)
                message(QStringLiteral("Timeout sending message: ") + sendstr);
            return false;
        case Outcome::Closed:
            break;
        }
        return false;
    }

    QString pollExchange(const QString &sendstr, bool IndicateError)
    {
        const ExchangeEngine::Result result = engine.exchange(sendstr, timing.pollWait, 0);
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
        case Outcome::Closed:
            break;
        }
        return QString();
    }

    void portFailed(bool removed = false)
    {
        if (!linkOpen) {
            engine.lineClosed();
            comm->close();
            return;
        }
        closeLink(removed ? PortDirectory::portName(cur_port) + QStringLiteral(" was removed") : DisconnectedText);
        emit q->connectionLost();
    }

    void closeLink(const QString &status)
    {
        setLineFree(false);
        engine.lineClosed();
        comm->close();
        linkOpen = false;
        emit q->statusText(status);
    }
};

SerialForm::SerialForm(SerialPortIo *comm, UserPrompt *prompt, QObject *parent)
    : QObject(parent), d(new Private(this, comm, prompt))
{
    connect(&d->engine, &ExchangeEngine::idle, this, &SerialForm::lineIdle);
    connect(&d->engine, &ExchangeEngine::writeFailed, this, [this] { d->portFailed(); });
    connect(comm, &SerialPortIo::portFailed, this, [this] { d->portFailed(); });
    connect(comm, &SerialPortIo::portRemoved, this, [this] { d->portFailed(true); });
}

SerialForm::~SerialForm()
{
    delete d;
}

bool SerialForm::scanPorts()
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

bool SerialForm::scanPort(qint16 port)
{
    return d->scan.tryPort(port);
}

qint16 SerialForm::is_port_avail(qint16 port) const
{
    return d->scan.isAvailable(port) ? 1 : 0;
}

QString SerialForm::scanDetails() const
{
    return d->scan.details();
}

PortScan &SerialForm::portScan()
{
    return d->scan;
}

bool SerialForm::open_qtx(const QString &portstr, const QString &baudstr, qint16 nodeid)
{
    d->setLineFree(false);

    qint32 speed = 0;
    const int port = PortDirectory::portNumber(portstr);
    if (!LeadingNumber::integer(baudstr, &speed) || port < 0 || is_port_avail(qint16(port)) == 0) {
        disconnect_qtx();
        return false;
    }

    if (d->comm->isOpen()) {
        d->engine.lineClosed();
        d->comm->close();
    }
    d->comm->setPortNumber(port);
    d->cur_port = qint16(port);
    d->comm->setSettings(QString::number(speed) + QStringLiteral(",n,8,1"));
    d->cur_baud = speed;
    if (!d->comm->open()) {
        disconnect_qtx();
        return false;
    }
    d->linkOpen = true;
    d->engine.lineOpened(d->timing.openQuiet);

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
    d->setLineFree(true);
    return true;
}

qint16 SerialForm::detect_nodeid()
{
    if (!sendrcv(QStringLiteral("$0RID"), false))
        return 0;
    qint16 id = 0;
    if (d->rcvstring.size() != 1 || !LeadingNumber::integer(d->rcvstring, &id))
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

void SerialForm::beginWriteWalk()
{
    if (d->writeWalks++ == 0)
        d->weFailureReported = false;
}

void SerialForm::endWriteWalk()
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
    const bool wasFree = d->guard && d->guard->isFree();
    d->setLineFree(false);

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

    if (wasFree && is_connected())
        d->setLineFree(true);
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

bool SerialForm::isBusy() const
{
    return d->engine.isBusy();
}

void SerialForm::setBusyGuard(BusyGuard *guard)
{
    d->guard = guard;
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
    d->engine.setPauseFunction(std::move(pause));
}
