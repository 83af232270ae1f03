// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QWidget;

// Panel 2 of the status bar and the progress bar beside it. A walk reports its progress
// after every exchange; showing each text at once would repaint and relayout the status
// bar as often, so percentages are shown at most once a frame interval, the newest first:
// five a second read as steady progress, and each costs a repaint of text, the largest
// part of a walk's own work.
// Any other text (a result, or nothing) is shown at once and drops a percentage still
// waiting.
class ProgressPanel : public QObject
{
    Q_OBJECT
public:
    ProgressPanel(QLabel *panel, QProgressBar *bar, QWidget *window);

    static constexpr int FrameMs = 200;

public slots:
    void show(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showNow(const QString &text, int percent);
    void unpin();

    QLabel *m_panel;
    QProgressBar *m_bar;
    QObject *m_statusBar; // compared with, never used: it may be half destroyed
    QWidget *m_window;
    QString m_pending;
    int m_pendingPercent = -1;
    bool m_relaidOut = false; // the status bar was resized since the last percentage
    QTimer m_frame;
};
