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
    m_position->setRange(0, 1);
    c->addAxis(m_time, Qt::AlignBottom);
    c->addAxis(m_position, Qt::AlignLeft);

    for (int s = 0; s < int(m_series.size()); ++s) {
        Series &series = m_series[size_t(s)];
        series.dots = new QScatterSeries(this);
        series.dots->setMarkerSize(5);
        series.dots->setColor(colour(s));
        series.dots->setBorderColor(colour(s));
        c->addSeries(series.dots);
        series.dots->attachAxis(m_time);
        series.dots->attachAxis(m_position);
        lineFor(s, 0)->setName(s == 0 ? QStringLiteral("Displayed") : QStringLiteral("Magnet %1").arg(s));
    }
    for (QLegendMarker *marker : c->legend()->markers())
        marker->setVisible(false);
}

QColor TrendPlot::colour(int series) const
{
    if (series == 0)
        return Qt::black;
    // Hues around the circle, alternately bright and dark so that neighbours differ.
    return QColor::fromHsv((series - 1) * 24, 230, series % 2 ? 210 : 140);
}

QLineSeries *TrendPlot::lineFor(int series, int index)
{
    Series &s = m_series[size_t(series)];
    while (s.lines.size() <= index) {
        auto *line = new QLineSeries(this);
        QPen pen(colour(series));
        pen.setWidthF(series == 0 ? 2.0 : 1.5);
        line->setPen(pen);
        chart()->addSeries(line);
        line->attachAxis(m_time);
        line->attachAxis(m_position);
        // Only the first line of a series has a legend entry.
        const QList<QLegendMarker *> markers = chart()->legend()->markers(line);
        for (QLegendMarker *marker : markers)
            marker->setVisible(false);
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
    const QString title = unit.isEmpty() ? QStringLiteral("Position") : QStringLiteral("Position (%1)").arg(unit);
    if (m_position->titleText() != title)
        m_position->setTitleText(title);

    double low = qInf(), high = -qInf();
    for (int s = 0; s < int(m_series.size()); ++s) {
        Series &series = m_series[size_t(s)];
        const QList<QList<QPointF>> runs = buffer.runs(s, left, nowMs);
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
        const QList<QLegendMarker *> markers = chart()->legend()->markers(series.lines.first());
        for (QLegendMarker *marker : markers)
            marker->setVisible(!runs.isEmpty());
    }

    if (low <= high) {
        // A little room above and below; a flat line gets a band around it.
        const double pad = high > low ? (high - low) * 0.05 : std::max(0.05, std::fabs(high) * 0.01);
        m_position->setRange(low - pad, high + pad);
    }
}

int TrendPlot::lineCount(int series) const
{
    return m_series[size_t(series)].used;
}

int TrendPlot::dotCount(int series) const
{
    return m_series[size_t(series)].dots->count();
}
