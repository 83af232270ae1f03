// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/LengthUnits.h"
#include "model/PositionReading.h"

#include <QContiguousCache>
#include <QList>
#include <QPointF>
#include <QStringList>
#include <array>
#include <optional>

// The samples behind the position trend: for the displayed position and for each magnet,
// what the polls read over the last ten minutes, oldest first, each in the unit it was
// read in. A gap breaks a series' line: a read that gave no position ("[----]", "ERR 01",
// a time-out, no connection), the end of its reads (stop), a change of unit, and two reads
// further apart than the poll allows. Times are milliseconds on the caller's clock.
//
// What it shows (plot and CSV) is in the unit of its newest sample: the others are
// converted to it; a sample whose unit is not known is shown only when that one is not
// known either.
class TrendBuffer
{
public:
    static constexpr int SeriesCount = PositionReading::LastMagnet + 1; // 0 displayed, k magnet k
    static constexpr qint64 KeepMs = 10 * 60 * 1000;
    // Ten minutes at the poll's four reads a second, with room for a timer running fast.
    static constexpr int Capacity = 2500;
    // Reads follow each other at most a tick plus a reply's wait apart; further apart,
    // the reads had stopped.
    static constexpr qint64 MaxReadSpacingMs = 2000;

    struct Sample
    {
        qint64 ms = 0;
        double value = 0;
        bool gap = false;
        qint8 unit = -1;
    };
    using Cells = std::array<std::optional<double>, SeriesCount>;

    void add(qint64 ms, const PositionReading &reading);
    // The reads of series first to last stopped at ms.
    void stop(qint64 ms, int first = 0, int last = SeriesCount - 1);
    // The samples since sinceMs whose unit was not known were read in unit.
    void settleUnits(qint64 sinceMs, int unit);
    // The wall-clock time (milliseconds since the epoch) of time 0, for the CSV.
    void setEpoch(qint64 epochMs);

    int count(int series) const;
    Sample sample(int series, int i) const; // i from 0, oldest first
    qint64 lastMs() const;
    // The unit shown: that of the newest sample, -1 when not known.
    int unit() const;

    // The unbroken runs of a series between fromMs and toMs, as points of (seconds,
    // value in unit()); a run that starts earlier keeps its last point before fromMs, so
    // that its line enters from the left.
    QList<QList<QPointF>> runs(int series, qint64 fromMs, qint64 toMs) const;

    // The whole buffer as CSV lines: the header, then a row at every sample time in which
    // each series holds its latest value until its line breaks, empty from then on.
    QStringList csvLines() const;
    // The header: the time in seconds, the wall-clock time when asked for, the names of
    // any further columns, then the displayed position and magnets 1 to 15, each followed
    // by the unit when it is given.
    static QString csvHeader(const QString &unit, bool clock = false, const QStringList &further = {});
    // A row: the time in seconds (three decimals), then, when epochMs is given, that
    // moment as local ISO 8601 time with milliseconds and offset, the further cells, then
    // the positions.
    static QString csvRow(qint64 ms, std::optional<qint64> epochMs, const Cells &cells, const QStringList &further = {});

private:
    // A position as a CSV cell: the shortest text that reads back as the same number.
    static QString csvCell(double value);
    static QString csvClock(qint64 epochMs);
    void append(int series, const Sample &sample);
    void dropBefore(qint64 ms);
    // The sample's value in unit(), or nothing when it is a gap or cannot be shown in it.
    std::optional<double> shown(const Sample &sample, int unit) const;

    std::array<QContiguousCache<Sample>, SeriesCount> m_series;
    qint64 m_lastMs = 0;
    qint64 m_lastReadMs = -1;
    qint64 m_epochMs = 0;
};
