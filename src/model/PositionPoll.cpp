// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/PositionPoll.h"

#include "link/SerialForm.h"

PositionPoll::PositionPoll(SerialForm *link, QObject *parent) : QObject(parent), m_link(link) {}

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
    m_magnetsWanted = wanted;
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
    if (m_inTick || !m_link || m_link->is_busy())
        return;
    m_inTick = true;

    if (!m_link->is_connected()) {
        emit read(PositionReading::fromReply(PositionReading::Displayed, QString(), false));
    } else {
        const int position = m_magnetPoll;
        const qint16 node = m_link->get_nodeid();
        const QString reply = m_link->sendrcv_timer(position == 0 ? displayCommand(node) : magnetCommand(node, position), false);
        // The link may be gone or closed once the wait is over; then nothing was read.
        const PositionReading reading = PositionReading::fromReply(position, reply, m_link && m_link->is_connected());
        emit read(reading);
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
    m_inTick = false;
}
