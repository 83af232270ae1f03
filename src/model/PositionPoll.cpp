// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/PositionPoll.h"

#include "link/SerialForm.h"
#include "model/ParameterTable.h"

#include <QTimer>
#include <algorithm>

namespace {

// The index of a device token of the "PU" setting, which lists the units in the order
// of LengthUnits; -1 for any other text.
int unitIndex(QStringView token)
{
    const ParameterTable::Parameter *units = ParameterTable::byCode(QStringLiteral("PU"));
    for (qsizetype i = 0; units && i < units->choices.size(); ++i)
        if (units->choices.at(i).token == token)
            return int(i);
    return -1;
}

} // namespace

PositionPoll::PositionPoll(SerialForm *link, QObject *parent) : QObject(parent), m_link(link)
{
    if (link)
        connect(link, &SerialForm::exchanged, this, &PositionPoll::noteExchange);
}

int PositionPoll::magnet_poll() const
{
    return m_magnetPoll;
}

bool PositionPoll::magnetsWanted() const
{
    return m_magnetsWanted;
}

void PositionPoll::setMagnetsWanted(bool wanted)
{
    const bool stopping = m_magnetsWanted && !wanted;
    m_magnetsWanted = wanted;
    if (stopping)
        reportStop(1);
}

void PositionPoll::setTimer(QTimer *timer)
{
    m_timer = timer;
    connect(timer, &QTimer::timeout, this, &PositionPoll::tick);
    m_timerRunning = timer->isActive();
    // A restart stops the timer for a moment without missing a tick: only a timer still
    // stopped once the current event is handled has stopped the reads.
    m_timerWatch = timer->bindableActive().addNotifier([this] {
        if (m_timer && m_timer->isActive())
            m_timerRunning = true;
        else
            QMetaObject::invokeMethod(this, &PositionPoll::checkTimer, Qt::QueuedConnection);
    });
}

void PositionPoll::checkTimer()
{
    if (!m_timer || m_timer->isActive() || !m_timerRunning)
        return;
    m_timerRunning = false;
    reportStop(PositionReading::Displayed);
}

void PositionPoll::reportStop(int first)
{
    if (m_inTick)
        m_stopPending = m_stopPending < 0 ? first : std::min(m_stopPending, first);
    else
        emit stopped(first, PositionReading::LastMagnet);
}

int PositionPoll::units() const
{
    return m_units;
}

void PositionPoll::wantUnits()
{
    m_unitsWanted = true;
    m_unitsAsked = false;
}

void PositionPoll::setUnits(int unit, bool fromDevice)
{
    if (unit < 0)
        m_unitsAsked = false;
    if (unit == m_units)
        return;
    m_units = unit;
    emit unitsChanged(unit, fromDevice);
}

// Whoever sent it: the poll's own read of the unit, an upload, a download, a comparison.
void PositionPoll::noteExchange(const QString &sent, const QString &reply)
{
    qsizetype at = 1; // past "$" and the node ID
    while (at < sent.size() && (sent.at(at).isDigit() || sent.at(at) == QLatin1Char('-')))
        ++at;
    const QStringView command = QStringView(sent).mid(at);
    if (command == QLatin1String("RMV") || (command == QLatin1String("SFD") && reply.isEmpty())) {
        setUnits(-1, false);
    } else if (command == QLatin1String("RPU")) {
        if (const int unit = unitIndex(reply); unit >= 0)
            setUnits(unit, true);
    } else if (command.startsWith(QLatin1String("SPU")) && reply.isEmpty()) {
        if (const int unit = unitIndex(command.mid(3)); unit >= 0)
            setUnits(unit, false);
    }
}

QString PositionPoll::displayCommand(qint16 node)
{
    return QStringLiteral("$%1RD").arg(node);
}

QString PositionPoll::magnetCommand(qint16 node, int magnet)
{
    return QStringLiteral("$%1Rd%2").arg(node).arg(magnet, 0, 16);
}

void PositionPoll::tick()
{
    // One exchange at a time: a tick that falls due while any reply is awaited (its own
    // or another command's) is dropped, not queued, and the cycle stays where it was.
    if (m_inTick || !m_link || m_link->isBusy())
        return;
    checkTimer(); // a stop not yet reported comes before this read
    m_inTick = true;
    if (m_link->is_connected() && m_unitsWanted && !m_unitsAsked && m_units < 0) {
        // The reply comes back through noteExchange; the cycle goes on at the next tick.
        m_unitsAsked = true;
        m_link->sendrcv_timer(QStringLiteral("$%1RPU").arg(m_link->get_nodeid()), false);
    } else {
        readPosition();
    }
    m_inTick = false;
    if (m_stopPending >= 0)
        emit stopped(std::exchange(m_stopPending, -1), PositionReading::LastMagnet);
}

void PositionPoll::readPosition()
{
    if (!m_link->is_connected()) {
        emit read(PositionReading::fromReply(PositionReading::Displayed, QString(), false));
    } else {
        const int position = m_magnetPoll;
        const qint16 node = m_link->get_nodeid();
        const QString reply = m_link->sendrcv_timer(position == 0 ? displayCommand(node) : magnetCommand(node, position), false);
        // The link may be gone or closed once the wait is over; then nothing was read.
        PositionReading reading = PositionReading::fromReply(position, reply, m_link && m_link->is_connected());
        reading.unit = m_units;
        emit read(reading);
        // The one magnet read that can follow unchecking the menu ends its line.
        if (position != 0 && !m_magnetsWanted)
            reportStop(position);
        // No magnet or no transducer at magnet k: the higher ones are not read this cycle.
        if (position != 0
            && (reading.status == PositionReading::Status::NoMagnet
                || reading.status == PositionReading::Status::NoTransducer))
            m_magnetPoll = PositionReading::LastMagnet;
    }

    ++m_magnetPoll;
    if (m_magnetPoll > PositionReading::LastMagnet)
        m_magnetPoll = 0;
    if (!m_magnetsWanted)
        m_magnetPoll = 0;
}
