// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/LogHistory.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <QDate>
#include <QTimer>
#include <QTime>
#include <QWidget>
#include <functional>
#include <utility>

class QAction;
class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class UserPrompt;

// The communications log: every exchange with the device, time-stamped, in a read-only
// fixed-pitch text. The log is kept as one text of lines ended by CR LF and limited to
// 20000 characters plus the last line's CR LF; the oldest lines go first.
// Logging can be paused (the caption of LogPauseButton is the state), the text cleared,
// and position polls are held back unless "Log Posns" is checked.
// Every line logged since the start or the last clear is also kept apart, with its date
// (within LogHistory's bounds), and can be saved to a file, from the text's context menu
// or the window.
class LogPane : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MaxLength = 20000;

    explicit LogPane(QWidget *parent = nullptr);

    // The date and time of day used for the stamps; tests set their own.
    using Clock = std::function<std::pair<QDate, QTime>()>;
    void setClock(Clock clock);
    // Asks for the file to save the log to and tells of a failed save.
    void setPrompt(UserPrompt *prompt);

    // The whole log, lines ended by CR LF.
    QString text() const;
    bool isLogging() const;

    // The text as shown, with every line logged so far.
    QPlainTextEdit *logText()
    {
        showPending();
        return m_logText;
    }
    QPushButton *pauseButton() const { return m_pauseButton; }
    QPushButton *clearButton() const { return m_clearButton; }
    QCheckBox *posnCheck() const { return m_posnCheck; }
    QAction *saveAction() const { return m_saveAction; }

public slots:
    void log_exchange(const QString &istr, const QString &ostr);
    void togglePause();
    void clearLog();
    // Writes every kept line, CR LF ended, with the dates, replacing the chosen file
    // only once all is written.
    void saveLog();

    // A position poll ("$" + one-digit node + "RD" or "Rd"...), left out of the log unless
    // "Log Posns" is checked.
    static bool isPositionPoll(const QString &istr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Lines reach the text at most ShowEveryMs apart, in one piece: a walk logs an
    // exchange every few milliseconds, and each append lays out and repaints the text.
    static constexpr int ShowEveryMs = 100;

    static QFont logFont();
    void showPending();
    int trimFor(int lineLength);
    void dropShownLines(int count);
    void showWhole();
    void scrollToEnd();
    void showContextMenu(const QPoint &pos);

    QPlainTextEdit *m_logText;
    QPushButton *m_pauseButton;
    QPushButton *m_clearButton;
    QCheckBox *m_posnCheck;
    QAction *m_saveAction;
    UserPrompt *m_prompt = nullptr;
    QString m_text;
    QStringList m_unshown;   // logged, not yet in the text widget
    int m_unshownDrops = 0;  // whole lines cut from the front since the widget last took any
    bool m_rebuild = false;  // a cut fell inside a line: the widget takes the whole text again
    QTimer m_showTimer;
    LogHistory m_history;
    Clock m_clock;
    bool m_logging = true; // as the pause button's caption says
};
