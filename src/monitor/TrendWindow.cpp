// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monitor/TrendWindow.h"

#include "link/UserPrompt.h"
#include "model/LengthUnits.h"
#include "model/SaveAsked.h"
#include "monitor/TrendPlot.h"
#include "monitor/TrendRecorder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// New readings come four times a second; drawing at most twice a second takes them in
// twos and halves the cost of a live plot.
constexpr int RedrawDelayMs = 500;
constexpr int DefaultSpanIndex = 2;
} // namespace

TrendWindow::TrendWindow(UserPrompt *prompt, TrendRecorder *recorder, QWidget *parent)
    : PlacedToolWindow(QStringLiteral("PositionTrend/Geometry"), QSize(760, 440), parent)
    , m_prompt(prompt)
    , m_recorder(recorder ? recorder : new TrendRecorder(nullptr, this))
    , m_plot(new TrendPlot(this))
    , m_span(new QComboBox(this))
    , m_pause(new QPushButton(QStringLiteral("&Pause"), this))
    , m_export(new QPushButton(QStringLiteral("&Export CSV..."), this))
    , m_redrawTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("TrendForm"));
    setWindowTitle(QStringLiteral("Position Trend"));

    m_span->setObjectName(QStringLiteral("TrendSpanCombo"));
    for (const auto &[text, seconds] : {std::pair{"10 s", 10}, {"30 s", 30}, {"1 min", 60}, {"2 min", 120},
                                        {"5 min", 300}, {"10 min", 600}})
        m_span->addItem(QString::fromLatin1(text), seconds);
    m_span->setCurrentIndex(DefaultSpanIndex);
    auto *spanLabel = new QLabel(QStringLiteral("&Show the last:"), this);
    spanLabel->setBuddy(m_span);
    m_pause->setObjectName(QStringLiteral("TrendPauseButton"));
    m_pause->setCheckable(true);
    m_export->setObjectName(QStringLiteral("TrendExportButton"));
    // No default button: Enter in the span list must not pause the plot.
    m_pause->setAutoDefault(false);
    m_export->setAutoDefault(false);

    auto *controls = new QHBoxLayout;
    controls->addWidget(spanLabel);
    controls->addWidget(m_span);
    controls->addStretch(1);
    controls->addWidget(m_pause);
    controls->addWidget(m_export);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_plot, 1);
    layout->addLayout(controls);

    m_redrawTimer->setSingleShot(true);
    m_redrawTimer->setInterval(RedrawDelayMs);
    connect(m_redrawTimer, &QTimer::timeout, this, &TrendWindow::redraw);
    connect(m_span, &QComboBox::currentIndexChanged, this, &TrendWindow::redraw);
    connect(m_pause, &QPushButton::clicked, this, &TrendWindow::togglePause);
    connect(m_export, &QPushButton::clicked, this, &TrendWindow::exportCsv);
    connect(m_recorder, &TrendRecorder::recorded, this, &TrendWindow::recorded);
}

TrendRecorder *TrendWindow::recorder() const
{
    return m_recorder;
}

const TrendBuffer &TrendWindow::buffer() const
{
    return m_recorder->buffer();
}

TrendPlot *TrendWindow::plot() const
{
    return m_plot;
}

bool TrendWindow::isPaused() const
{
    return m_pause->isChecked();
}

qint64 TrendWindow::spanMs() const
{
    return qint64(m_span->currentData().toInt()) * 1000;
}

void TrendWindow::recorded()
{
    if (isVisible() && !isPaused() && !m_redrawTimer->isActive())
        m_redrawTimer->start();
}

void TrendWindow::redraw()
{
    const int unit = buffer().unit();
    m_plot->draw(buffer(), isPaused() ? m_pausedAt : m_recorder->now(), spanMs(),
                 LengthUnits::isValid(unit) ? LengthUnits::selectorTexts().at(unit) : QStringLiteral("unit not known"));
}

void TrendWindow::togglePause()
{
    m_pausedAt = m_recorder->now();
    m_pause->setText(isPaused() ? QStringLiteral("&Resume") : QStringLiteral("&Pause"));
    redraw();
}

void TrendWindow::exportCsv()
{
    if (!m_prompt)
        return;
    SaveAsked{QStringLiteral("Export Position Trend"), QStringLiteral("CSV files (*.csv);;All files (*)"),
              QStringLiteral("position-trend.csv"), QStringLiteral("Could not export the position trend to %1.")}
        .save(*m_prompt, buffer().csvLines());
}

void TrendWindow::showEvent(QShowEvent *event)
{
    PlacedToolWindow::showEvent(event);
    m_recorder->wantUnits();
    redraw();
}
