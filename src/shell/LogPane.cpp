#include "shell/LogPane.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
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
      m_clock([] { return QTime::currentTime(); })
{
    setObjectName(QStringLiteral("LogPane"));
    m_logText->setObjectName(QStringLiteral("LogText"));
    m_pauseButton->setObjectName(QStringLiteral("LogPauseButton"));
    m_clearButton->setObjectName(QStringLiteral("Command2"));
    m_posnCheck->setObjectName(QStringLiteral("PosnCheck"));

    m_logText->setReadOnly(true);
    m_logText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_logText->setUndoRedoEnabled(false);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    const QFont systemFixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), systemFixed.family()});
    font.setPointSizeF(systemFixed.pointSizeF() > 0 ? systemFixed.pointSizeF() - 1 : 8);
    m_logText->setFont(font);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_pauseButton);
    buttons->addWidget(m_clearButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_logText, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_posnCheck);

    connect(m_pauseButton, &QPushButton::clicked, this, &LogPane::toggle_pause);
    connect(m_clearButton, &QPushButton::clicked, this, &LogPane::clear_log);
}

void LogPane::setClock(std::function<QTime()> clock)
{
    m_clock = std::move(clock);
}

QString LogPane::text() const
{
    return m_text;
}

bool LogPane::isLogging() const
{
    return m_pauseButton->text() != StartCaption;
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
    if (!isLogging())
        return;
    const QString line = m_clock().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(": ") + istr
        + QStringLiteral(" -> ") + ostr;
    if (!m_posnCheck->isChecked() && isPositionPoll(istr))
        return;

    const bool trimmed = m_text.size() + line.size() > MaxLength;
    if (trimmed)
        trimFor(line.size());
    m_text += line;
    m_text += LineEnd;
    if (trimmed)
        showWhole();
    else
        m_logText->appendPlainText(line);
    scrollToEnd();
}

// Cuts whole lines from the front, at least (line length + 100) characters at a time, so
// a log at its limit is rebuilt only every few lines.
void LogPane::trimFor(int lineLength)
{
    while (m_text.size() + lineLength > MaxLength && !m_text.isEmpty()) {
        const qsizetype from = qsizetype(lineLength) + 99; // position lineLength + 100, from 1
        const qsizetype crlf = from < m_text.size() ? m_text.indexOf(LineEnd, from) : -1;
        m_text.remove(0, crlf >= 0 ? crlf + LineEnd.size() : 1);
    }
}

void LogPane::showWhole()
{
    QString shown = m_text;
    if (shown.endsWith(LineEnd))
        shown.chop(LineEnd.size());
    shown.replace(LineEnd, QStringLiteral("\n"));
    m_logText->setPlainText(shown);
}

void LogPane::scrollToEnd()
{
    m_logText->moveCursor(QTextCursor::End);
    QScrollBar *bar = m_logText->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void LogPane::toggle_pause()
{
    m_pauseButton->setText(isLogging() ? StartCaption : StopCaption);
}

void LogPane::clear_log()
{
    m_text.clear();
    m_logText->clear();
}
