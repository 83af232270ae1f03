// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/TrendBuffer.h"

#include <QLocale>
#include <algorithm>

TrendBuffer::TrendBuffer()
{
    for (auto &series : m_series)
        series.setCapacity(Capacity);
}

void TrendBuffer::add(qint64 ms, const PositionReading &reading)
{
    // Times only go forward, so each series stays in order.
    ms = std::max(ms, m_lastMs);
    m_lastMs = ms;
    const int first = qBound(0, reading.position, SeriesCount - 1);
    const int last = qBound(first, reading.lastPosition(), SeriesCount - 1);
    for (int series = first; series <= last; ++series)
        append(series, ms, reading.value, !reading.hasValue());
    dropBefore(ms - KeepMs);
}

void TrendBuffer::append(int series, qint64 ms, double value, bool gap)
{
    QContiguousCache<Sample> &samples = m_series[size_t(series)];
    // One gap is enough to break a line; a series does not begin with one.
    if (gap && (samples.isEmpty() || samples.last().gap))
        return;
    if (!samples.areIndexesValid())
        samples.normalizeIndexes();
    samples.append(Sample{ms, gap ? 0.0 : value, gap});
}

void TrendBuffer::dropBefore(qint64 ms)
{
    for (auto &samples : m_series) {
        while (!samples.isEmpty() && (samples.first().ms < ms || samples.first().gap))
            samples.removeFirst();
    }
}

void TrendBuffer::clear()
{
    for (auto &samples : m_series)
        samples.clear();
}

int TrendBuffer::count(int series) const
{
    return series >= 0 && series < SeriesCount ? int(m_series[size_t(series)].count()) : 0;
}

TrendBuffer::Sample TrendBuffer::sample(int series, int i) const
{
    const QContiguousCache<Sample> &samples = m_series[size_t(series)];
    return samples.at(samples.firstIndex() + i);
}

qint64 TrendBuffer::lastMs() const
{
    return m_lastMs;
}

QList<QList<QPointF>> TrendBuffer::runs(int series, qint64 fromMs, qint64 toMs) const
{
    QList<QList<QPointF>> result;
    const int n = count(series);
    // The first sample at or after fromMs, then one step back into the run it belongs to.
    int lo = 0, hi = n;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (sample(series, mid).ms < fromMs)
            lo = mid + 1;
        else
            hi = mid;
    }
    bool open = false;
    for (int i = std::max(0, lo - 1); i < n; ++i) {
        const Sample s = sample(series, i);
        if (s.ms > toMs)
            break;
        if (s.gap) {
            open = false;
            continue;
        }
        if (!open)
            result.append(QList<QPointF>());
        result.last().append(QPointF(double(s.ms) / 1000.0, s.value));
        open = true;
    }
    return result;
}

QString TrendBuffer::csvHeader(const QString &unit)
{
    const QString suffix = unit.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(unit);
    QStringList header{QStringLiteral("Time (s)"), QStringLiteral("Displayed") + suffix};
    for (int k = 1; k < SeriesCount; ++k)
        header << QStringLiteral("Magnet %1").arg(k) + suffix;
    return header.join(QLatin1Char(','));
}

QString TrendBuffer::csvCell(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QStringList TrendBuffer::csvLines(const QString &unit) const
{
    QStringList lines{csvHeader(unit)};

    // The series merged by time: one row for each time any of them has a sample at.
    std::array<int, SeriesCount> next{};
    for (;;) {
        qint64 ms = -1;
        for (int s = 0; s < SeriesCount; ++s) {
            if (next[size_t(s)] < count(s) && (ms < 0 || sample(s, next[size_t(s)]).ms < ms))
                ms = sample(s, next[size_t(s)]).ms;
        }
        if (ms < 0)
            break;
        QStringList row{QString::number(double(ms) / 1000.0, 'f', 3)};
        for (int s = 0; s < SeriesCount; ++s) {
            int &i = next[size_t(s)];
            QString cell;
            if (i < count(s) && sample(s, i).ms == ms) {
                const Sample x = sample(s, i++);
                if (!x.gap)
                    cell = csvCell(x.value);
            }
            row << cell;
        }
        lines << row.join(QLatin1Char(','));
    }
    return lines;
}
