// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/TrendBuffer.h"

#include <QObject>
#include <QPointer>
#include <functional>

class PositionPoll;

// Keeps the position trend's samples from the program's start, whether or not the trend
// window is open: the poll's readings stamped on its clock, a break in every line the
// poll stops reading, and the unit each sample was read in, once the poll learns it.
class TrendRecorder : public QObject
{
    Q_OBJECT
public:
    // Without a poll, readings come only through take().
    explicit TrendRecorder(PositionPoll *poll = nullptr, QObject *parent = nullptr);

    // The clock the samples are stamped with, in milliseconds, and the wall-clock time
    // of its 0 in milliseconds since the epoch; from construction on by default.
    void setClock(std::function<qint64()> clock, qint64 epochMs);
    qint64 now() const;

    const TrendBuffer &buffer() const;
    // Someone looks at the trend: the poll reads the unit whenever it is not known.
    void wantUnits();

public slots:
    void take(const PositionReading &reading);

signals:
    void recorded();

private:
    void stopped(int first, int last);
    void unitsChanged(int unit, bool fromDevice);

    QPointer<PositionPoll> m_poll;
    std::function<qint64()> m_clock;
    TrendBuffer m_buffer;
    int m_units = -1;
    qint64 m_unknownSince = 0; // when the unit last became unknown
};
