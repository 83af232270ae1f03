#include "shell/LogPane.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

// With "$0RMV" sent, a line is 19 characters plus the reply.
static QString replyFor(int lineLength)
{
    return QString(lineLength - 19, QLatin1Char('x'));
}

class TestLogPane : public QObject
{
    Q_OBJECT

private:
    static void logLine(LogPane &pane, int lineLength)
    {
        pane.log_exchange(QStringLiteral("$0RMV"), replyFor(lineLength));
    }
    static QString shownText(const LogPane &pane)
    {
        QString t = pane.text();
        t.chop(2);
        return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }

private slots:
    void init()
    {
        m_pane = new LogPane;
        m_pane->setClock([] { return QTime(12, 0, 0); });
    }
    void cleanup() { delete m_pane; }

    void lineFormat()
    {
        m_pane->setClock([] { return QTime(14, 3, 7); });
        m_pane->posnCheck()->setChecked(true);
        m_pane->log_exchange(QStringLiteral("$0RD"), QStringLiteral("12.345"));
        m_pane->setClock([] { return QTime(9, 5, 1); });
        m_pane->log_exchange(QStringLiteral("$0RMV"), QStringLiteral("QTXv2.05 \u00e9\x01"));
        QVERIFY(QFontInfo(m_pane->logText()->font()).fixedPitch());
        QCOMPARE(m_pane->text(), QStringLiteral("14:03:07: $0RD -> 12.345\r\n"
                                                "09:05:01: $0RMV -> QTXv2.05 \u00e9\x01\r\n"));
        QCOMPARE(m_pane->logText()->toPlainText(), shownText(*m_pane));
    }

    void positionFilter_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<bool>("logPosns");
        QTest::addColumn<bool>("logged");
        QTest::newRow("displayed position held back") << "$0RD" << false << false;
        QTest::newRow("magnet held back") << "$0Rd3" << false << false;
        QTest::newRow("display parameter held back") << "$0RdP" << false << false;
        QTest::newRow("node id query logged") << "$0RID" << false << true;
        QTest::newRow("parameter read logged") << "$0RXM" << false << true;
        QTest::newRow("write logged") << "$0SdP3" << false << true;
        QTest::newRow("lower case is no poll") << "$0rd" << false << true;
        QTest::newRow("shorter than four") << "$0R" << false << true;
        QTest::newRow("two characters") << "RD" << false << true;
        QTest::newRow("two-digit node shifts the command") << "$12RD" << false << true;
        QTest::newRow("position logged on request") << "$0RD" << true << true;
        QTest::newRow("magnet logged on request") << "$0Rdf" << true << true;
    }
    void positionFilter()
    {
        QFETCH(QString, sent);
        QFETCH(bool, logPosns);
        QFETCH(bool, logged);
        if (logPosns)
            QTest::mouseClick(m_pane->posnCheck(), Qt::LeftButton);
        QCOMPARE(m_pane->posnCheck()->isChecked(), logPosns);
        m_pane->log_exchange(sent, QStringLiteral("1"));
        QCOMPARE(m_pane->text(), logged ? QStringLiteral("12:00:00: ") + sent + QStringLiteral(" -> 1\r\n") : QString());
    }

    void pauseAndResume()
    {
        QCOMPARE(m_pane->pauseButton()->text(), QStringLiteral("Stop Logging"));
        m_pane->log_exchange(QStringLiteral("$0RID"), QStringLiteral("0"));
        QTest::mouseClick(m_pane->pauseButton(), Qt::LeftButton);
        QCOMPARE(m_pane->pauseButton()->text(), QStringLiteral("Start Logging"));
        m_pane->posnCheck()->setChecked(true);
        m_pane->log_exchange(QStringLiteral("$0RMV"), QStringLiteral("QTXv2"));
        m_pane->log_exchange(QStringLiteral("$0RD"), QStringLiteral("1.0"));
        QCOMPARE(m_pane->text(), QStringLiteral("12:00:00: $0RID -> 0\r\n"));

        QTest::mouseClick(m_pane->pauseButton(), Qt::LeftButton);
        QCOMPARE(m_pane->pauseButton()->text(), QStringLiteral("Stop Logging"));
        m_pane->log_exchange(QStringLiteral("$0RFD"), QStringLiteral("OK"));
        QVERIFY(m_pane->text().endsWith(QStringLiteral("$0RFD -> OK\r\n")));
    }

    void clear()
    {
        m_pane->log_exchange(QStringLiteral("$0RID"), QStringLiteral("0"));
        QTest::mouseClick(m_pane->clearButton(), Qt::LeftButton);
        QCOMPARE(m_pane->text(), QString());
        QCOMPARE(m_pane->logText()->toPlainText(), QString());
        m_pane->log_exchange(QStringLiteral("$0RMV"), QStringLiteral("QTXv2"));
        QCOMPARE(m_pane->text(), QStringLiteral("12:00:00: $0RMV -> QTXv2\r\n"));
    }

    // A log of 19990 characters and a new line of 30: the front is cut up to and including
    // the first CR LF that starts at or after position 30 + 100 (counting from 1).
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
        logLine(*m_pane, 60);                 // CR LF at 61, 62: too early
        logLine(*m_pane, crPosition - 1 - 62); // CR at crPosition
        int length = crPosition + 1;
        while (19990 - length >= 102 + 21) {
            logLine(*m_pane, 100);
            length += 102;
        }
        logLine(*m_pane, 19990 - length - 2);
        const QString before = m_pane->text();
        QCOMPARE(before.size(), 19990);
        QCOMPARE(before.mid(crPosition - 1, 2), QStringLiteral("\r\n"));

        logLine(*m_pane, 30);
        const QString expected = before.mid(cut) + QStringLiteral("12:00:00: $0RMV -> ") + replyFor(30)
            + QStringLiteral("\r\n");
        QCOMPARE(m_pane->text(), expected);
        QCOMPARE(m_pane->logText()->toPlainText(), shownText(*m_pane));
    }

    void exactLimitIsKept()
    {
        logLine(*m_pane, 19968); // 19970 with CR LF
        logLine(*m_pane, 30);    // 19970 + 30 = 20000: no cut
        QCOMPARE(m_pane->text().size(), 20002);
        logLine(*m_pane, 19); // now over: cut
        QVERIFY(m_pane->text().size() <= 20002);
        QVERIFY(m_pane->text().endsWith(QStringLiteral("-> \r\n")));
    }

    // No CR LF at or after the search position: one character at a time goes.
    void withoutLineEndCutsCharacters()
    {
        logLine(*m_pane, 148); // 150 characters; the search starts at 19900 + 100
        const QString before = m_pane->text();
        logLine(*m_pane, 19900);
        QCOMPARE(m_pane->text().size(), 20002);
        QCOMPARE(m_pane->text().left(100), before.mid(50));

        // A reply so long that the line alone is over the limit empties the log and
        // still ends; the line is kept whole.
        logLine(*m_pane, 25000);
        QCOMPARE(m_pane->text().size(), 25002);
        QVERIFY(m_pane->text().startsWith(QStringLiteral("12:00:00: $0RMV -> xx")));
        QCOMPARE(m_pane->logText()->toPlainText(), shownText(*m_pane));
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
        QCOMPARE(m_pane->logText()->toPlainText(), shownText(*m_pane));
        // The newest line is in view.
        QScrollBar *bar = m_pane->logText()->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());
    }

private:
    LogPane *m_pane = nullptr;
};

QTEST_MAIN(TestLogPane)
#include "tst_logpane.moc"
