// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/TrendBuffer.h"

#include <QChartView>
#include <QList>
#include <array>

class QAbstractSeries;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The chart of the position trend: the displayed position and each magnet against time,
// the newest reading at the right edge. A series is drawn as one line per unbroken run of
// readings, so a gap shows as a break; a reading with gaps on both sides shows as a dot.
class TrendPlot : public QChartView
{
    Q_OBJECT
public:
    explicit TrendPlot(QWidget *parent = nullptr);

    // Shows the samples from nowMs - spanMs to nowMs; the y-axis is titled with the unit.
    void draw(const TrendBuffer &buffer, qint64 nowMs, qint64 spanMs, const QString &unit);

    // Lines in use for a series (0 displayed, k magnet k) and the points drawn as dots.
    int lineCount(int series) const;
    int dotCount(int series) const;

private:
    struct Series
    {
        QList<QLineSeries *> lines; // the first one carries the legend entry
        QScatterSeries *dots = nullptr;
        int used = 0;
    };

    void addSeries(QAbstractSeries *series, bool inLegend);
    Series &seriesFor(int series);
    QLineSeries *lineFor(int series, int index);
    QColor colour(int series) const;
    void setPositionRange(double low, double high);
    static double niceStep(double raw);

    std::array<Series, TrendBuffer::SeriesCount> m_series;
    QValueAxis *m_time;
    QValueAxis *m_position;
};
