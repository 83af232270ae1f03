// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/TrendBuffer.h"

#include "monitor/PlacedToolWindow.h"

class QComboBox;
class QPushButton;
class QTimer;
class TrendPlot;
class TrendRecorder;
class UserPrompt;

// "Position Trend": a live plot of the displayed position and each polled magnet over the
// last 10 s to 10 min, from the samples its TrendRecorder keeps (ten minutes at most)
// whether the window is shown or not; paused, the plot stays at the moment of the pause,
// still open to other spans. It exports what it holds as CSV and remembers its own size
// and place.
class TrendWindow : public PlacedToolWindow
{
    Q_OBJECT
public:
    // Without a recorder, the window keeps one of its own.
    TrendWindow(UserPrompt *prompt, TrendRecorder *recorder, QWidget *parent = nullptr);

    TrendRecorder *recorder() const;
    const TrendBuffer &buffer() const;
    TrendPlot *plot() const;
    bool isPaused() const;
    qint64 spanMs() const;

public slots:
    void exportCsv();
    // Draws the plot now (it is otherwise drawn a moment after new readings).
    void redraw();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void togglePause();
    void recorded();

    UserPrompt *m_prompt;
    TrendRecorder *m_recorder;
    TrendPlot *m_plot;
    QComboBox *m_span;
    QPushButton *m_pause;
    QPushButton *m_export;
    QTimer *m_redrawTimer;
    qint64 m_pausedAt = 0;
};
