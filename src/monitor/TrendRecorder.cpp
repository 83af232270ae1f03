// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monitor/TrendRecorder.h"

#include "model/PositionPoll.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <memory>

TrendRecorder::TrendRecorder(PositionPoll *poll, QObject *parent) : QObject(parent), m_poll(poll)
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    setClock([started] { return started->elapsed(); }, QDateTime::currentMSecsSinceEpoch());
    if (!poll)
        return;
    m_units = poll->units();
    connect(poll, &PositionPoll::read, this, &TrendRecorder::take);
    connect(poll, &PositionPoll::stopped, this, &TrendRecorder::stopped);
    connect(poll, &PositionPoll::unitsChanged, this, &TrendRecorder::unitsChanged);
}

void TrendRecorder::setClock(std::function<qint64()> clock, qint64 epochMs)
{
    if (!clock)
        return;
    m_clock = std::move(clock);
    m_buffer.setEpoch(epochMs);
}

qint64 TrendRecorder::now() const
{
    return std::max(m_clock(), m_buffer.lastMs());
}

const TrendBuffer &TrendRecorder::buffer() const
{
    return m_buffer;
}

void TrendRecorder::wantUnits()
{
    if (m_poll)
        m_poll->wantUnits();
}

void TrendRecorder::take(const PositionReading &reading)
{
    m_buffer.add(m_clock(), reading);
    emit recorded();
}

void TrendRecorder::stopped(int first, int last)
{
    m_buffer.stop(m_clock(), first, last);
    emit recorded();
}

// A unit read from the device after a time without one is the unit of the positions read
// in that time: nothing that would have changed it went over the link.
void TrendRecorder::unitsChanged(int unit, bool fromDevice)
{
    if (unit < 0)
        m_unknownSince = now();
    else if (fromDevice && m_units < 0)
        m_buffer.settleUnits(m_unknownSince, unit);
    m_units = unit;
    emit recorded();
}
