// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monitor/TrendPlot.h"

#include "model/TrendBuffer.h"

#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {
// A badly flickering reading gives many short runs; past this many lines per series the
// older runs are drawn as dots, which costs one series whatever their number.
constexpr int MaxLinesPerSeries = 64;
} // namespace

TrendPlot::TrendPlot(QWidget *parent)
    : QChartView(parent)
    , m_time(new QValueAxis(this))
    , m_position(new QValueAxis(this))
{
    setObjectName(QStringLiteral("TrendChart"));
    setFocusPolicy(Qt::NoFocus);
    setRenderHint(QPainter::Antialiasing);
    QChart *c = chart();
    c->setMargins(QMargins(4, 4, 4, 4));
    c->legend()->setAlignment(Qt::AlignRight);
    m_time->setTitleText(QStringLiteral("Time (s)"));
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_time->setTickType(QValueAxis::TicksDynamic);
    m_time->setTickAnchor(0);
    m_position->setRange(0, 1);
    c->addAxis(m_time, Qt::AlignBottom);
    c->addAxis(m_position, Qt::AlignLeft);
}

QColor TrendPlot::colour(int series) const
{
    if (series == 0)
        return Qt::black;
    // Hues around the circle, alternately bright and dark so that neighbours differ.
    return QColor::fromHsv((series - 1) * 24, 230, series % 2 ? 210 : 140);
}

void TrendPlot::addSeries(QAbstractSeries *series, bool inLegend)
{
    chart()->addSeries(series);
    series->attachAxis(m_time);
    series->attachAxis(m_position);
    if (!inLegend) {
        const QList<QLegendMarker *> markers = chart()->legend()->markers(series);
        for (QLegendMarker *marker : markers)
            marker->setVisible(false);
    }
}

// A series is put on the chart when it first has something to show: its first line
// carries its legend entry, and the legend lists only series that have been read, in
// their order (displayed, magnet 1, 2...), whichever came first.
TrendPlot::Series &TrendPlot::seriesFor(int series)
{
    Series &s = m_series[size_t(series)];
    if (s.dots)
        return s;
    // The legend follows the order of adding: the higher series go off and come back after.
    QList<QPair<QAbstractSeries *, bool>> later;
    for (size_t i = size_t(series) + 1; i < m_series.size(); ++i) {
        for (QLineSeries *line : std::as_const(m_series[i].lines))
            later.append({line, line == m_series[i].lines.first()});
        if (m_series[i].dots)
            later.append({m_series[i].dots, false});
    }
    for (const auto &other : std::as_const(later))
        chart()->removeSeries(other.first);
    lineFor(series, 0);
    s.dots = new QScatterSeries(this);
    s.dots->setMarkerSize(5);
    s.dots->setColor(colour(series));
    s.dots->setBorderColor(colour(series));
    addSeries(s.dots, false);
    for (const auto &other : std::as_const(later))
        addSeries(other.first, other.second);
    return s;
}

QLineSeries *TrendPlot::lineFor(int series, int index)
{
    Series &s = m_series[size_t(series)];
    while (s.lines.size() <= index) {
        auto *line = new QLineSeries(this);
        QPen pen(colour(series));
        pen.setWidthF(1.5);
        // The displayed position is often one magnet's; dashes keep both in sight.
        if (series == 0) {
            pen.setWidthF(2.0);
            pen.setStyle(Qt::DashLine);
        }
        line->setPen(pen);
        line->setName(series == 0 ? QStringLiteral("Displayed") : QStringLiteral("Magnet %1").arg(series));
        addSeries(line, s.lines.isEmpty());
        s.lines.append(line);
    }
    return s.lines.at(index);
}

void TrendPlot::draw(const TrendBuffer &buffer, qint64 nowMs, qint64 spanMs, const QString &unit)
{
    // Until a whole span has gone by, time 0 stays at the left edge.
    const qint64 right = std::max(nowMs, spanMs);
    const qint64 left = right - spanMs;
    m_time->setRange(double(left) / 1000.0, double(right) / 1000.0);
    // Ticks on whole seconds, about six of them whatever the span: 2 s over 10 s, 2 min
    // over 10 min.
    const double interval = niceStep(double(spanMs) / 1000.0 / 6.0);
    if (m_time->tickInterval() != interval)
        m_time->setTickInterval(interval);
    const QString title = unit.isEmpty() ? QStringLiteral("Position") : QStringLiteral("Position (%1)").arg(unit);
    if (m_position->titleText() != title)
        m_position->setTitleText(title);

    double low = qInf(), high = -qInf();
    for (int s = 0; s < int(m_series.size()); ++s) {
        const QList<QList<QPointF>> runs = buffer.runs(s, left, nowMs);
        if (runs.isEmpty() && !m_series[size_t(s)].dots)
            continue;
        Series &series = seriesFor(s);
        // The newest runs of two points or more get lines; single points and runs past
        // the line limit are dots.
        QList<QPointF> dots;
        int lines = 0;
        for (qsizetype r = runs.size() - 1; r >= 0; --r) {
            const QList<QPointF> &run = runs.at(r);
            for (const QPointF &p : run) {
                low = std::min(low, p.y());
                high = std::max(high, p.y());
            }
            if (run.size() >= 2 && lines < MaxLinesPerSeries)
                lineFor(s, lines++)->replace(run);
            else
                dots += run;
        }
        for (int i = lines; i < series.used; ++i)
            series.lines.at(i)->clear();
        series.used = lines;
        if (series.dots->count() > 0 || !dots.isEmpty())
            series.dots->replace(dots);
    }

    if (low <= high)
        setPositionRange(low, high);
}

// The least of 1, 2 or 5 times a power of ten that is at least raw.
double TrendPlot::niceStep(double raw)
{
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0}) {
        if (f * power >= raw)
            return f * power;
    }
    return 10 * power;
}

// Round steps with four or five of them over the values and a step's room where a value
// falls on the frame. Setting a range lays out every line again, so an unchanged one is
// left be.
void TrendPlot::setPositionRange(double low, double high)
{
    const double step = niceStep(std::max(high - low, std::max(1e-3, std::fabs(high) * 1e-3)) / 4.0);
    double min = std::floor(low / step) * step;
    double max = std::ceil(high / step) * step;
    if (min >= low)
        min -= step;
    if (max <= high)
        max += step;
    if (min != m_position->min() || max != m_position->max()) {
        m_position->setRange(min, max);
        m_position->setTickCount(int(std::lround((max - min) / step)) + 1);
        // As many decimals as the step needs, so that no two labels read the same.
        const int decimals = std::clamp(int(-std::floor(std::log10(step))), 0, 6);
        m_position->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    }
}

int TrendPlot::lineCount(int series) const
{
    return m_series[size_t(series)].used;
}

int TrendPlot::dotCount(int series) const
{
    const Series &s = m_series[size_t(series)];
    return s.dots ? s.dots->count() : 0;
}
