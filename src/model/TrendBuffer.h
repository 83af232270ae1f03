// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/PositionReading.h"

#include <QContiguousCache>
#include <QList>
#include <QPointF>
#include <QStringList>
#include <array>

// The samples behind the position trend: for the displayed position and for each magnet,
// what the polls read over the last ten minutes, oldest first. A read that gave no
// position ("[----]", "ERR 01", a time-out, no connection) is a gap, where the line
// breaks instead of dropping to zero. Times are milliseconds on the caller's clock.
class TrendBuffer
{
public:
    static constexpr int SeriesCount = PositionReading::LastMagnet + 1; // 0 displayed, k magnet k
    static constexpr qint64 KeepMs = 10 * 60 * 1000;
    // Ten minutes at the poll's four reads a second, with room for a timer running fast.
    static constexpr int Capacity = 2500;

    struct Sample
    {
        qint64 ms = 0;
        double value = 0;
        bool gap = false;
    };

    TrendBuffer();

    void add(qint64 ms, const PositionReading &reading);
    void clear();

    int count(int series) const;
    Sample sample(int series, int i) const; // i from 0, oldest first
    qint64 lastMs() const;

    // The unbroken runs of a series between fromMs and toMs, as points of (seconds,
    // value); a run that starts earlier keeps its last point before fromMs, so that its
    // line enters from the left.
    QList<QList<QPointF>> runs(int series, qint64 fromMs, qint64 toMs) const;

    // The whole buffer as CSV lines: a header, then one row per sample time with the time
    // in seconds (three decimals) and the displayed position and magnets 1 to 15, empty
    // where nothing was read.
    QStringList csvLines(const QString &unit) const;
    // That header; unit, when given, follows each position's name.
    static QString csvHeader(const QString &unit);
    // A position as a CSV cell: the shortest text that reads back as the same number.
    static QString csvCell(double value);

private:
    void append(int series, qint64 ms, double value, bool gap);
    void dropBefore(qint64 ms);

    std::array<QContiguousCache<Sample>, SeriesCount> m_series;
    qint64 m_lastMs = 0;
};
