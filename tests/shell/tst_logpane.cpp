// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RecordingPrompt.h"
#include "model/LogHistory.h"
#include "shell/LogPane.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

// With "$0RMV" sent, a line is 19 characters plus the reply.
static QString replyFor(int lineLength)
{
    return QString(lineLength - 19, QLatin1Char('x'));
}

class TestLogPane : public QObject
{
    Q_OBJECT

private:
    // Logs a line and notes it among the lines the saved log must hold.
    void logLine(int lineLength)
    {
        m_pane->log_exchange(QStringLiteral("$0RMV"), replyFor(lineLength));
        m_logged << QStringLiteral("09:05:01: $0RMV -> ") + replyFor(lineLength);
    }
    QString shownText() const
    {
        QString t = m_pane->text();
        t.chop(2);
        return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    // Saves through the text's context menu, as the user does; the file's bytes.
    QByteArray saveFromMenu()
    {
        emit m_pane->logText()->customContextMenuRequested(QPoint(5, 5));
        QMenu *menu = m_pane->findChild<QMenu *>(QStringLiteral("LogContextMenu"));
        menu->actions().last()->trigger();
        delete menu;
        QFile file(m_prompt.saveName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<not saved>");
    }
    QByteArray loggedText() const { return ("2026-03-04\r\n" + m_logged.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1(); }

private slots:
    void init()
    {
        m_pane = new LogPane;
        m_pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pane));
        m_pane->setClock([] { return std::pair{QDate(2026, 3, 4), QTime(9, 5, 1)}; }); // two digits each
        m_pane->setPrompt(&m_prompt);
        m_prompt = RecordingPrompt();
        m_prompt.saveName = m_dir.filePath(QStringLiteral("log.txt"));
        QFile::remove(m_prompt.saveName);
        m_logged.clear();
    }
    void cleanup() { delete m_pane; }

    // Each entry is an exchange sent (its reply a text the log keeps unchanged) or a
    // click: "!posn" on Log Posns, "!pause" on the pause button, "!clear" on Clear Log;
    // "!hide" and "!show" hide and show the pane.
    void whatIsLogged_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("logged");
        QTest::newRow("displayed position held back") << QStringList{"$0RD"} << QStringList();
        QTest::newRow("magnet held back") << QStringList{"$0Rd3"} << QStringList();
        QTest::newRow("display parameter held back") << QStringList{"$0RdP"} << QStringList();
        for (const char *sent : {"$0RID", "$0SdP3", "$0rd", "$0R", "$12RD"})
            QTest::addRow("%s logged", sent) << QStringList{sent} << QStringList{sent};
        QTest::newRow("positions logged on request") << QStringList{"!posn", "$0RD", "$0Rdf"} << QStringList{"$0RD", "$0Rdf"};
        QTest::newRow("paused, polls too") << QStringList{"$0RID", "!pause", "!posn", "$0RMV", "$0RD", "!pause", "$0RFD"}
                                           << QStringList{"$0RID", "$0RFD"};
        QTest::newRow("cleared") << QStringList{"$0RID", "!clear", "$0RMV"} << QStringList{"$0RMV"};
        QTest::newRow("logged while hidden") << QStringList{"$0RID", "!show", "!hide", "$0RMV", "!show"} << QStringList{"$0RID", "$0RMV"};
    }
    void whatIsLogged()
    {
        QFETCH(QStringList, script);
        QFETCH(QStringList, logged);
        const QHash<QString, QAbstractButton *> clicks{
            {"!posn", m_pane->posnCheck()}, {"!pause", m_pane->pauseButton()}, {"!clear", m_pane->clearButton()}};
        for (const QString &entry : std::as_const(script)) {
            if (clicks.contains(entry)) // on the left: the check box takes clicks on its box and text only
                QTest::mouseClick(clicks.value(entry), Qt::LeftButton, {}, QPoint(8, clicks.value(entry)->height() / 2));
            else if (entry == "!hide")
                m_pane->hide();
            else if (entry == "!show") {
                m_pane->show();
                QTRY_COMPARE(m_pane->findChild<QPlainTextEdit *>()->toPlainText(), shownText());
            } else
                m_pane->log_exchange(entry, QStringLiteral("QTXv2 \u00e9\x01"));
        }
        QString expected;
        for (const QString &sent : std::as_const(logged))
            expected += QStringLiteral("09:05:01: ") + sent + QStringLiteral(" -> QTXv2 \u00e9\x01\r\n");
        QVERIFY(QFontInfo(m_pane->logText()->font()).fixedPitch());
        QCOMPARE(m_pane->text(), expected);
        QCOMPARE(m_pane->logText()->toPlainText(), shownText());
        QCOMPARE(m_pane->pauseButton()->text(), script.count("!pause") % 2 ? "Start Logging" : "Stop Logging");
        // The saved log holds what the pane took, nothing more, after its date.
        QCOMPARE(saveFromMenu(), (expected.isEmpty() ? QString() : "2026-03-04\r\n" + expected).toLatin1());
    }

    // A log of 19990 characters and a new line of 30: the front is cut up to and including
    // the first CR LF that starts at or after position 30 + 100 (counting from 1). The
    // saved log still holds every line.
    void trimsFromFirstLineEndPastLinePlus100_data()
    {
        QTest::addColumn<int>("crPosition"); // 1-based position of the second line's CR
        QTest::addColumn<int>("cut");        // characters removed from the front
        QTest::newRow("CR at 131") << 131 << 132;
        QTest::newRow("CR at 130") << 130 << 131;
        // A CR LF that starts at 129 is before the search position; the next one counts.
        QTest::newRow("CR at 129") << 129 << 129 + 1 + 102;
    }
    void trimsFromFirstLineEndPastLinePlus100()
    {
        QFETCH(int, crPosition);
        QFETCH(int, cut);
        logLine(60);                     // CR LF at 61, 62: too early
        logLine(crPosition - 1 - 62);    // CR at crPosition
        int length = crPosition + 1;
        while (19990 - length >= 102 + 21) {
            logLine(100);
            length += 102;
        }
        logLine(19990 - length - 2);
        const QString before = m_pane->text();
        QCOMPARE(before.size(), 19990);
        QCOMPARE(before.mid(crPosition - 1, 2), QStringLiteral("\r\n"));
        QCOMPARE(m_pane->logText()->toPlainText(), shownText()); // the cut below then drops shown lines

        logLine(30);
        QCOMPARE(m_pane->text(), before.mid(cut) + m_logged.last() + QStringLiteral("\r\n"));
        QCOMPARE(m_pane->logText()->toPlainText(), shownText());
        QCOMPARE(saveFromMenu(), loggedText());
    }

    // Up to 20000 characters with the new line, nothing goes; past it, with no CR LF at or
    // after the search position, one character at a time goes.
    void limitAndCharacterCuts()
    {
        logLine(148);
        logLine(19850); // 150 + 19850 = 20000
        const QString before = m_pane->text();
        QCOMPARE(before.size(), 20002);
        logLine(19950); // searches from 20050: no CR LF there
        QCOMPARE(m_pane->text().size(), 20002);
        QCOMPARE(m_pane->text().left(50), before.mid(19952));

        // A reply so long that the line alone is over the limit empties the log and
        // still ends; the line is kept whole.
        logLine(25000);
        QCOMPARE(m_pane->text().size(), 25002);
        QVERIFY(m_pane->text().startsWith(QStringLiteral("09:05:01: $0RMV -> xx")));
        QCOMPARE(m_pane->logText()->toPlainText(), shownText());
        QCOMPARE(saveFromMenu(), loggedText());
    }

    void staysBoundedAtPollRate()
    {
        m_pane->show();
        m_pane->posnCheck()->setChecked(true);
        for (int i = 0; i < 3000; ++i) {
            // Now and then a reply carries a line break of its own (noise on the line).
            const QString noise = i % 97 == 0 ? QStringLiteral("\n7") : QString();
            m_pane->log_exchange(QStringLiteral("$0RD"), QString::number(i * 1.25, 'f', 4) + noise);
            QVERIFY(m_pane->text().size() <= LogPane::MaxLength + 2);
        }
        QVERIFY(m_pane->text().endsWith(QStringLiteral("$0RD -> 3748.7500\r\n")));
        QCOMPARE(m_pane->logText()->toPlainText(), shownText());
        QScrollBar *bar = m_pane->logText()->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum()); // the newest line in view
    }

    // The oldest lines go first, by count and by size (a device babbling long replies);
    // the saved log's first line gives the date and says how many went, and a line with
    // the new date comes before the first line of a later day.
    void historyBounds_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("dropped");
        QTest::newRow("by count") << LogHistory::MaxLines + 3 << 10 << 3;
        QTest::newRow("by size") << 5000 << 4117 << 927; // 4073 lines and their line ends fit in 16 MiB
    }
    void historyBounds()
    {
        QFETCH(int, lines);
        QFETCH(int, length);
        QFETCH(int, dropped);
        LogHistory history;
        for (int i = 0; i < lines; ++i)
            history.append(QDate(2026, 3, i + 1 < lines ? 4 : 5), QString::number(i).leftJustified(length, QLatin1Char('x')));
        const QStringList saved = history.lines();
        QCOMPARE(saved.size(), lines - dropped + 2);
        QCOMPARE(saved.at(saved.size() - 2), QStringLiteral("2026-03-05"));
        QCOMPARE(saved.first(), QStringLiteral("2026-03-04 (%1 earlier lines were dropped: the log keeps the last 100000 "
                                               "lines and 16 MiB.)").arg(dropped));
        QCOMPARE(saved.at(1).section('x', 0, 0), QString::number(dropped));
    }

    // A write that fails part way (a full disk; here a file size limit, which holds for
    // root too) leaves the old file whole and tells the user; no name chosen, no file.
    void failedSaveKeepsTheOldFile()
    {
        QFile old(m_prompt.saveName);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old log\r\n") == 9);
        old.close();
        logLine(200);
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const QByteArray after = saveFromMenu();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(after, QByteArray("old log\r\n"));
        QCOMPARE(m_prompt.messages, QStringList{QStringLiteral("Could not save the log to %1.").arg(m_prompt.saveName)});
        QVERIFY(!m_prompt.details.first().isEmpty());

        m_prompt.saveName.clear();
        QCOMPARE(saveFromMenu(), QByteArray("<not saved>"));
        QCOMPARE(m_prompt.messages.size(), 1);
    }

private:
    LogPane *m_pane = nullptr;
    RecordingPrompt m_prompt;
    QTemporaryDir m_dir;
    QStringList m_logged;
};

QTEST_MAIN(TestLogPane)
#include "tst_logpane.moc"
