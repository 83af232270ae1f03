// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/TrendBuffer.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QPushButton;
class QTimer;
class TrendPlot;
class UserPrompt;

// "Position Trend": a live plot of the displayed position and each polled magnet over the
// last 10 s to 10 min, from the readings the position poll makes anyway. It keeps
// recording while hidden or paused (ten minutes at most, in its TrendBuffer); paused, the
// plot stays at the moment of the pause, still open to other spans. It exports what it
// holds as CSV and remembers its own size and place.
class TrendWindow : public QDialog
{
    Q_OBJECT
public:
    // unitName gives the displayed unit ("Inches", "MM"...) whenever the plot is drawn.
    TrendWindow(UserPrompt *prompt, std::function<QString()> unitName, QWidget *parent = nullptr);
    ~TrendWindow() override;

    // The clock the samples are stamped with, in milliseconds; from construction on by
    // default.
    void setClock(std::function<qint64()> clock);

    const TrendBuffer &buffer() const;
    TrendPlot *plot() const;
    bool isPaused() const;
    qint64 spanMs() const;

public slots:
    void take(const PositionReading &reading);
    void export_csv();
    // Draws the plot now (it is otherwise drawn a moment after new readings).
    void redraw();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void togglePause();
    void storePlace();

    UserPrompt *m_prompt;
    std::function<QString()> m_unitName;
    std::function<qint64()> m_clock;
    TrendBuffer m_buffer;
    TrendPlot *m_plot;
    QComboBox *m_span;
    QPushButton *m_pause;
    QPushButton *m_export;
    QTimer *m_redrawTimer;
    qint64 m_pausedAt = 0;
};
