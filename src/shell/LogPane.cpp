// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/LogPane.h"

#include "link/ExchangeLog.h"
#include "link/StampClock.h"
#include "link/UserPrompt.h"
#include "model/SaveAsked.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
const QString StopCaption = QStringLiteral("Stop Logging");
const QString StartCaption = QStringLiteral("Start Logging");
const QString LineEnd = QStringLiteral("\r\n");
} // namespace

LogPane::LogPane(QWidget *parent)
    : QWidget(parent),
      m_logText(new QPlainTextEdit(this)),
      m_pauseButton(new QPushButton(StopCaption, this)),
      m_clearButton(new QPushButton(QStringLiteral("Clear Log"), this)),
      m_posnCheck(new QCheckBox(QStringLiteral("Log Posns"), this)),
      m_saveAction(new QAction(QStringLiteral("Save Log..."), this)),
      m_clock([clock = StampClock()]() mutable {
          const QTime time = clock.now();
          return std::pair{clock.date(), time};
      })
{
    setObjectName(QStringLiteral("LogPane"));
    m_logText->setObjectName(QStringLiteral("LogText"));
    m_pauseButton->setObjectName(QStringLiteral("LogPauseButton"));
    m_clearButton->setObjectName(QStringLiteral("Command2"));
    m_posnCheck->setObjectName(QStringLiteral("PosnCheck"));
    m_saveAction->setObjectName(QStringLiteral("LogSaveMenu"));

    m_logText->setReadOnly(true);
    m_logText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_logText->setUndoRedoEnabled(false);
    m_logText->setFont(logFont());
    m_logText->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_pauseButton);
    buttons->addWidget(m_clearButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_logText, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_posnCheck);

    connect(m_pauseButton, &QPushButton::clicked, this, &LogPane::togglePause);
    connect(m_clearButton, &QPushButton::clicked, this, &LogPane::clearLog);
    connect(m_logText, &QWidget::customContextMenuRequested, this, &LogPane::showContextMenu);
    connect(m_saveAction, &QAction::triggered, this, &LogPane::saveLog);
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(ShowEveryMs);
    connect(&m_showTimer, &QTimer::timeout, this, &LogPane::showPending);
}

void LogPane::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void LogPane::setPrompt(UserPrompt *prompt)
{
    m_prompt = prompt;
}

// Courier New where it is installed, else another family the font database knows to be
// fixed-pitch: the "monospace" alias may resolve to a font that is not.
QFont LogPane::logFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(font.pointSizeF() > 1 ? font.pointSizeF() - 1 : 8);
    const QStringList installed = QFontDatabase::families();
    QStringList candidates{QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono"),
                           QStringLiteral("Liberation Mono"), QStringLiteral("Courier")};
    candidates += installed;
    for (const QString &family : std::as_const(candidates)) {
        if (installed.contains(family) && QFontDatabase::isFixedPitch(family)) {
            font.setFamily(family);
            break;
        }
    }
    return font;
}

QString LogPane::text() const
{
    return m_text;
}

bool LogPane::isLogging() const
{
    return m_logging;
}

bool LogPane::isPositionPoll(const QString &istr)
{
    // "$" and a one-digit node ID come first; the command starts at the third character.
    if (istr.size() < 4)
        return false;
    const QStringView command = QStringView(istr).mid(2, 2);
    return command == QLatin1String("Rd") || command == QLatin1String("RD");
}

void LogPane::log_exchange(const QString &istr, const QString &ostr)
{
    // Position polls, four a second, are dropped before any text is made for them.
    if (!isLogging() || (!m_posnCheck->isChecked() && isPositionPoll(istr)))
        return;
    const auto [date, time] = m_clock();
    const QString line = ExchangeLog::line(time, istr, ostr);
    m_history.append(date, line);

    const int removedLines = m_text.size() + line.size() > MaxLength ? trimFor(line.size()) : 0;
    m_text += line;
    m_text += LineEnd;
    // A hidden pane's text is left alone: it takes the whole log when the pane shows.
    if (!isVisible()) {
        m_rebuild = true;
        return;
    }
    if (removedLines < 0)
        m_rebuild = true;
    else
        m_unshownDrops += removedLines;
    m_unshown << line;
    if (!m_showTimer.isActive())
        m_showTimer.start();
}

void LogPane::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // After the layout has given the text its size, so the newest line shows.
    if (m_rebuild)
        QTimer::singleShot(0, this, &LogPane::showPending);
}

void LogPane::showPending()
{
    m_showTimer.stop();
    if (m_unshown.isEmpty() && !m_rebuild)
        return;
    // Cuts reach only lines the widget holds unless they went past all of them.
    const bool empty = m_logText->document()->isEmpty();
    if (m_rebuild || (m_unshownDrops > 0 && (empty || m_unshownDrops >= m_logText->blockCount()))) {
        showWhole();
    } else {
        if (m_unshownDrops > 0)
            dropShownLines(m_unshownDrops);
        m_logText->appendPlainText(m_unshown.join(QLatin1Char('\n')));
    }
    m_unshown.clear();
    m_unshownDrops = 0;
    m_rebuild = false;
    scrollToEnd();
}

// Cuts whole lines from the front, at least (line length + 100) characters at a time, so
// a log at its limit is trimmed only every few lines. Returns how many whole lines went,
// or -1 when a cut fell inside a line (the shown text is then rebuilt).
int LogPane::trimFor(int lineLength)
{
    int lines = 0;
    while (m_text.size() + lineLength > MaxLength && !m_text.isEmpty()) {
        const qsizetype from = qsizetype(lineLength) + 99; // position lineLength + 100, from 1
        const qsizetype crlf = from < m_text.size() ? m_text.indexOf(LineEnd, from) : -1;
        if (crlf < 0) {
            m_text.remove(0, 1);
            lines = -1;
            continue;
        }
        if (lines >= 0) {
            // A reply holding line breaks of its own shows as more than one line; then the
            // count of shown lines is not known and the text is rebuilt.
            const QStringView cut = QStringView(m_text).left(crlf + LineEnd.size());
            const qsizetype ends = cut.count(LineEnd);
            const bool plain = cut.count(QLatin1Char('\n')) == ends && cut.count(QLatin1Char('\r')) == ends
                && !cut.contains(QChar::ParagraphSeparator);
            lines = plain ? lines + int(ends) : -1;
        }
        m_text.remove(0, crlf + LineEnd.size());
    }
    return lines;
}

// Removes the first lines from the widget instead of setting its whole text again.
void LogPane::dropShownLines(int count)
{
    QTextCursor cursor(m_logText->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, count);
    cursor.removeSelectedText();
}

void LogPane::showWhole()
{
    QString shown = m_text;
    if (shown.endsWith(LineEnd))
        shown.chop(LineEnd.size());
    shown.replace(LineEnd, QStringLiteral("\n"));
    m_logText->setPlainText(shown);
}

// The newest line in view, read from its time stamp on: a pane appended to while hidden
// has no width and would otherwise keep a sideways scroll when shown.
void LogPane::scrollToEnd()
{
    QScrollBar *bar = m_logText->verticalScrollBar();
    bar->setValue(bar->maximum());
    m_logText->horizontalScrollBar()->setValue(0);
}

void LogPane::togglePause()
{
    m_logging = !m_logging;
    m_pauseButton->setText(m_logging ? StopCaption : StartCaption);
}

void LogPane::clearLog()
{
    m_showTimer.stop();
    m_unshown.clear();
    m_unshownDrops = 0;
    m_rebuild = false;
    m_text.clear();
    m_logText->clear();
    m_history.clear();
}

// The text's own entries (copy, select all), then saving the whole log.
void LogPane::showContextMenu(const QPoint &pos)
{
    QMenu *menu = m_logText->createStandardContextMenu(pos);
    menu->setObjectName(QStringLiteral("LogContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(m_saveAction);
    menu->popup(m_logText->viewport()->mapToGlobal(pos));
}

void LogPane::saveLog()
{
    if (!m_prompt)
        return;
    SaveAsked{QStringLiteral("Save Log"), QStringLiteral("Log files (*.log *.txt);;All files (*)"),
              QStringLiteral("qtx2-log.txt"), QStringLiteral("Could not save the log to %1.")}
        .save(*m_prompt, m_history.lines());
}
