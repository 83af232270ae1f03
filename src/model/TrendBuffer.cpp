// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/TrendBuffer.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cstdlib>

void TrendBuffer::add(qint64 ms, const PositionReading &reading)
{
    // Times only go forward, so each series stays in order.
    ms = std::max(ms, m_lastMs);
    if (m_lastReadMs >= 0 && ms - m_lastReadMs > MaxReadSpacingMs)
        stop(m_lastReadMs + 1);
    m_lastMs = ms;
    m_lastReadMs = ms;
    const int first = qBound(0, reading.position, SeriesCount - 1);
    const int last = qBound(first, reading.lastPosition(), SeriesCount - 1);
    const qint8 unit = qint8(LengthUnits::isValid(reading.unit) ? reading.unit : -1);
    for (int series = first; series <= last; ++series)
        append(series, Sample{ms, reading.hasValue() ? reading.value : 0.0, !reading.hasValue(), unit});
    dropBefore(ms - KeepMs);
}

void TrendBuffer::stop(qint64 ms, int first, int last)
{
    ms = std::max(ms, m_lastMs);
    m_lastMs = ms;
    for (int series = std::max(first, 0); series <= std::min(last, SeriesCount - 1); ++series)
        append(series, Sample{ms, 0, true, -1});
}

void TrendBuffer::append(int series, const Sample &sample)
{
    QContiguousCache<Sample> &samples = m_series[size_t(series)];
    // One gap is enough to break a line; a series does not begin with one.
    if (sample.gap && (samples.isEmpty() || samples.last().gap))
        return;
    if (!sample.gap && !samples.isEmpty() && !samples.last().gap && samples.last().unit != sample.unit)
        append(series, Sample{std::min(samples.last().ms + 1, sample.ms), 0, true, -1});
    // A series that is never read takes no room.
    if (samples.capacity() == 0)
        samples.setCapacity(Capacity);
    if (!samples.areIndexesValid())
        samples.normalizeIndexes();
    samples.append(sample);
}

void TrendBuffer::dropBefore(qint64 ms)
{
    for (auto &samples : m_series) {
        while (!samples.isEmpty() && (samples.first().ms < ms || samples.first().gap))
            samples.removeFirst();
    }
}

void TrendBuffer::settleUnits(qint64 sinceMs, int unit)
{
    if (!LengthUnits::isValid(unit))
        return;
    for (auto &samples : m_series) {
        for (qsizetype i = samples.lastIndex(); i >= samples.firstIndex() && samples.at(i).ms >= sinceMs; --i) {
            if (samples.at(i).unit < 0)
                samples[i].unit = qint8(unit);
        }
    }
}

void TrendBuffer::setEpoch(qint64 epochMs)
{
    m_epochMs = epochMs;
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

int TrendBuffer::unit() const
{
    qint64 newest = -1;
    int unit = -1;
    for (const auto &samples : m_series) {
        // A gap never follows a gap, so the last value is one of the last two samples.
        for (qsizetype i = samples.lastIndex(); i >= samples.firstIndex() && i >= samples.lastIndex() - 1; --i) {
            if (!samples.at(i).gap) {
                if (samples.at(i).ms >= newest)
                    newest = samples.at(i).ms, unit = samples.at(i).unit;
                break;
            }
        }
    }
    return unit;
}

std::optional<double> TrendBuffer::shown(const Sample &sample, int unit) const
{
    if (sample.gap || (sample.unit < 0) != (unit < 0))
        return std::nullopt;
    if (sample.unit == unit)
        return sample.value;
    // In double precision, so that a converted history carries no single-precision noise.
    return sample.value / LengthUnits::PerInch[size_t(sample.unit)] * LengthUnits::PerInch[size_t(unit)];
}

QList<QList<QPointF>> TrendBuffer::runs(int series, qint64 fromMs, qint64 toMs) const
{
    QList<QList<QPointF>> result;
    const int n = count(series);
    const int shownUnit = unit();
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
        const std::optional<double> value = shown(s, shownUnit);
        if (!value) {
            open = false;
            continue;
        }
        if (!open)
            result.append(QList<QPointF>());
        result.last().append(QPointF(double(s.ms) / 1000.0, *value));
        open = true;
    }
    return result;
}

QString TrendBuffer::csvHeader(const QString &unit, bool clock, const QStringList &further)
{
    const QString suffix = unit.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(unit);
    QStringList header{QStringLiteral("Time (s)")};
    if (clock)
        header << QStringLiteral("Local time");
    header << further;
    header << QStringLiteral("Displayed") + suffix;
    for (int k = 1; k < SeriesCount; ++k)
        header << QStringLiteral("Magnet %1").arg(k) + suffix;
    return header.join(QLatin1Char(','));
}

QString TrendBuffer::csvCell(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString TrendBuffer::csvClock(qint64 epochMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(epochMs);
    const int offset = local.offsetFromUtc() / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + QLatin1Char(offset < 0 ? '-' : '+')
        + QStringLiteral("%1:%2").arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0')).arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
}

QString TrendBuffer::csvRow(qint64 ms, std::optional<qint64> epochMs, const Cells &cells, const QStringList &further)
{
    QString row = QString::number(double(ms) / 1000.0, 'f', 3);
    if (epochMs)
        row += QLatin1Char(',') + csvClock(*epochMs);
    for (const QString &cell : further)
        row += QLatin1Char(',') + cell;
    for (const std::optional<double> &cell : cells) {
        row += QLatin1Char(',');
        if (cell)
            row += csvCell(*cell);
    }
    return row;
}

QStringList TrendBuffer::csvLines() const
{
    const int shownUnit = unit();
    QStringList lines{csvHeader(LengthUnits::selectorTexts().value(shownUnit), true)};

    // The series merged by time: one row for each time any of them has a sample at.
    std::array<int, SeriesCount> next{};
    Cells held;
    for (;;) {
        qint64 ms = -1;
        for (int s = 0; s < SeriesCount; ++s) {
            if (next[size_t(s)] < count(s) && (ms < 0 || sample(s, next[size_t(s)]).ms < ms))
                ms = sample(s, next[size_t(s)]).ms;
        }
        if (ms < 0)
            break;
        for (int s = 0; s < SeriesCount; ++s) {
            int &i = next[size_t(s)];
            if (i < count(s) && sample(s, i).ms == ms)
                held[size_t(s)] = shown(sample(s, i++), shownUnit);
        }
        lines << csvRow(ms, m_epochMs + ms, held);
    }
    return lines;
}
