#include "RecordingPrompt.h"
#include "ScriptedPort.h"
#include "link/SerialForm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

// The framed exchange: bytes on the wire, reply classification, waits and time-outs,
// pauses, the log hand-over, and what happens when a second exchange or a failure
// arrives during a wait.
class TestExchange : public QObject
{
    Q_OBJECT

    enum Kind { Plain, Long, Addressed, LongAddressed, Poll };

    struct Rig
    {
        ScriptedPort port;
        RecordingPrompt prompt;
        SerialForm form{&port, &prompt};
        QTimer positionTimer;
        std::unique_ptr<QSignalSpy> log;

        // Connected to a device at node 0 on COM1, with the connection's own traffic
        // cleared from the records.
        Rig()
        {
            port.answer("$0RMV", "*QTXv2.05\r");
            port.answer("$0RFD", "*\r");
            form.setPositionTimer(&positionTimer);
            positionTimer.setInterval(250);
            form.scan_ports();
            form.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), 0);
            positionTimer.stop();
            port.wire.clear();
            port.transcript.clear();
            log = std::make_unique<QSignalSpy>(&form, &SerialForm::exchanged);
        }

        // Runs one exchange of the kind; a text result for the poll kind, "true"/"false"
        // for the others.
        QString run(Kind kind, const QString &text, bool indicate = true)
        {
            switch (kind) {
            case Plain:
                return form.sendrcv(text, indicate) ? "true" : "false";
            case Long:
                return form.sendrcv_long(text, indicate) ? "true" : "false";
            case Addressed:
                return form.sendrcv_nodeid(text, indicate) ? "true" : "false";
            case LongAddressed:
                return form.sendrcv_long_nodeid(text, indicate) ? "true" : "false";
            case Poll:
                return form.sendrcv_timer(text, indicate);
            }
            return QString();
        }
    };

private slots:
    void classification_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("payload");
        QTest::newRow("value") << QByteArray("*12.5\r") << "12.5";
        QTest::newRow("empty payload") << QByteArray("*\r") << "";
        QTest::newRow("no star taken whole") << QByteArray("12.5\r") << "12.5";
        QTest::newRow("only the first star") << QByteArray("**5\r") << "*5";
        QTest::newRow("trailing blank stays") << QByteArray("*abc \r") << "abc ";
        QTest::newRow("codes below 20 stripped") << QByteArray("*7\x13\x01\n\r") << "7";
        QTest::newRow("code 20 stays") << QByteArray("*7\x14\r") << "7\x14";
        QTest::newRow("inner control stays") << QByteArray("*a\x01" "b\r") << "a\x01" "b";
        QTest::newRow("bare star") << QByteArray("*") << "";
        QTest::newRow("nothing") << QByteArray() << "";
        QTest::newRow("high bytes one char each") << QByteArray("*\xb5m\r") << QString::fromLatin1("\xb5m");
    }
    void classification()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, payload);
        QCOMPARE(SerialForm::classify_reply(reply), payload);
    }

    void wireBytes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QString>("result");
        QTest::newRow("plain") << int(Plain) << "$0RID" << QByteArray("$0RID\r") << "true";
        QTest::newRow("long") << int(Long) << "$0SFD" << QByteArray("$0SFD\r") << "true";
        QTest::newRow("addressed") << int(Addressed) << "RMV" << QByteArray("$0RMV\r") << "true";
        QTest::newRow("long addressed") << int(LongAddressed) << "SFD" << QByteArray("$0SFD\r") << "true";
        QTest::newRow("poll") << int(Poll) << "$0Rd3" << QByteArray("$0Rd3\r") << "4.25";
    }
    void wireBytes()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QByteArray, wire);
        QFETCH(QString, result);
        Rig rig;
        rig.port.answer("$0RUN", "*MM\r");
        QVERIFY(rig.form.sendrcv_nodeid("RUN"));
        rig.port.wire.clear();
        rig.log->clear();
        rig.port.answer(wire.chopped(1), "*4.25\r");
        QCOMPARE(rig.run(Kind(kind), text), result);
        QCOMPARE(rig.port.wire, wire);
        QCOMPARE(rig.log->size(), 1);
        QCOMPARE(rig.log->at(0).at(0).toString(), QString::fromLatin1(wire.chopped(1)));
        QCOMPARE(rig.log->at(0).at(1).toString(), QStringLiteral("4.25"));
        QCOMPARE(rig.form.rcvstring(), kind == Poll ? QStringLiteral("MM") : QStringLiteral("4.25"));
        QVERIFY(!rig.form.is_busy());
    }

    void replyShapes_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QString>("payload");
        QTest::newRow("chunks joined") << QList<QByteArray>{"*1", "2.", "5\r"} << "12.5";
        QTest::newRow("CR LF in one read") << QList<QByteArray>{"*7\r\n"} << "7";
        QTest::newRow("LF in a later read") << QList<QByteArray>{"*7\r", "\n"} << "7";
        QTest::newRow("bytes after CR dropped") << QList<QByteArray>{"*1\r*2\r"} << "1";
        QTest::newRow("no star") << QList<QByteArray>{"ERR\r"} << "ERR";
    }
    void replyShapes()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QString, payload);
        Rig rig;
        rig.port.script("$0RXM", ScriptedPort::Reply{chunks, 0, 30});
        rig.port.answer("$0RUN", "*INCHES\r", 100);
        QVERIFY(rig.form.sendrcv_nodeid("RXM", false));
        QCOMPARE(rig.form.rcvstring(), payload);
        // Whatever trailed the reply does not leak into the next one.
        QVERIFY(rig.form.sendrcv_nodeid("RUN", false));
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("INCHES"));
        QCOMPARE(rig.log->size(), 2);
    }

    void timeouts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("partial");
        QTest::addColumn<bool>("indicate");
        QTest::newRow("plain silent") << int(Addressed) << QByteArray() << true;
        QTest::newRow("plain partial") << int(Addressed) << QByteArray("*12") << true;
        QTest::newRow("plain quiet") << int(Addressed) << QByteArray() << false;
        QTest::newRow("poll silent") << int(Poll) << QByteArray() << false;
        QTest::newRow("poll partial") << int(Poll) << QByteArray("*12") << true;
    }
    void timeouts()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, partial);
        QFETCH(bool, indicate);
        Rig rig;
        QVERIFY(rig.form.sendrcv_nodeid("RXM", false) == false); // unscripted: time-out
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("TIMEOUT ERROR"));
        rig.port.answer("$0RUN", "*MM\r");
        QVERIFY(rig.form.sendrcv_nodeid("RUN", false));
        QCOMPARE(rig.log->size(), 1);
        rig.log->clear();

        const QString message = kind == Poll ? "$0RD" : "$0RPO";
        const QString text = kind == Poll ? "$0RD" : "RPO";
        if (!partial.isEmpty())
            rig.port.answer(message.toLatin1(), partial);
        const QString result = rig.run(Kind(kind), text, indicate);
        const QStringList expectedBox =
            indicate ? QStringList{QStringLiteral("Timeout sending message: ") + message} : QStringList();
        QCOMPARE(rig.prompt.messages, expectedBox);
        if (kind == Poll) {
            QCOMPARE(result, QStringLiteral("No Magnet"));
            QCOMPARE(rig.form.rcvstring(), QStringLiteral("MM"));
            QCOMPARE(rig.log->size(), 1);
            QCOMPARE(rig.log->at(0).at(0).toString(), message);
            QCOMPARE(rig.log->at(0).at(1).toString(), QString::fromLatin1(partial) + " Timeout");
        } else {
            QCOMPARE(result, QStringLiteral("false"));
            QCOMPARE(rig.form.rcvstring(), QStringLiteral("TIMEOUT ERROR"));
            QCOMPARE(rig.log->size(), 0);
        }
        QVERIFY(rig.form.is_connected());
    }

    // The wait bounds the silence before each chunk, and it differs by kind.
    void waitPerKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("delay");
        QTest::addColumn<bool>("answered");
        QTest::newRow("plain 400 ms") << int(Addressed) << 400 << false;
        QTest::newRow("long 400 ms") << int(LongAddressed) << 400 << true;
        QTest::newRow("poll 300 ms") << int(Poll) << 300 << true;
        QTest::newRow("poll 800 ms") << int(Poll) << 800 << false;
    }
    void waitPerKind()
    {
        QFETCH(int, kind);
        QFETCH(int, delay);
        QFETCH(bool, answered);
        Rig rig;
        const QByteArray message = kind == Poll ? "$0RD" : "$0RXM";
        rig.port.answer(message, "*3\r", delay);
        const QString result = rig.run(Kind(kind), kind == Poll ? "$0RD" : "RXM", false);
        if (kind == Poll)
            QCOMPARE(result, answered ? QStringLiteral("3") : QStringLiteral("No Magnet"));
        else
            QCOMPARE(result, answered ? QStringLiteral("true") : QStringLiteral("false"));
    }

    void chunksRestartTheWait()
    {
        Rig rig;
        // 450 ms in all, but never 200 ms of silence.
        rig.port.script("$0RXM", ScriptedPort::Reply{{"*1", "2", "3", "4\r"}, 120, 110});
        QVERIFY(rig.form.sendrcv_nodeid("RXM", false));
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("1234"));
    }

    void overflowEndsTheExchange_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("plain") << int(Addressed);
        QTest::newRow("poll") << int(Poll);
    }
    void overflowEndsTheExchange()
    {
        QFETCH(int, kind);
        Rig rig;
        const QByteArray endless(1000, 'A');
        const QByteArray message = kind == Poll ? "$0RD" : "$0RXM";
        rig.port.script(message, ScriptedPort::Reply{QList<QByteArray>(10, endless), 0, 10});
        rig.port.answer("$0RUN", "*MM\r");
        const QString result = rig.run(Kind(kind), kind == Poll ? "$0RD" : "RXM", false);
        if (kind == Poll) {
            QCOMPARE(result, QStringLiteral("No Magnet"));
            QCOMPARE(rig.log->size(), 1);
            const QString logged = rig.log->at(0).at(1).toString();
            QCOMPARE(logged, QString(SerialForm::MaxReplyLength, QLatin1Char('A')) + " Timeout");
        } else {
            QCOMPARE(result, QStringLiteral("false"));
            QCOMPARE(rig.form.rcvstring(), QStringLiteral("TIMEOUT ERROR"));
            QCOMPARE(rig.log->size(), 0);
        }
        // The rest of the flood is dropped, not read as the next reply.
        QTest::qWait(150);
        QVERIFY(rig.form.sendrcv_nodeid("RUN", false));
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("MM"));
    }

    void longestReplyAccepted()
    {
        Rig rig;
        const QByteArray text(SerialForm::MaxReplyLength - 1, 'B');
        rig.port.answer("$0RXM", "*" + text + "\r");
        QVERIFY(rig.form.sendrcv_nodeid("RXM", false));
        QCOMPARE(rig.form.rcvstring(), QString::fromLatin1(text));
    }

    void pausesAroundExchanges()
    {
        Rig rig;
        SerialForm::Timing timing;
        timing.setCommandPause = 7; // made visible; it is 0 in use
        rig.form.setTiming(timing);
        rig.form.setPauseFunction([&rig](int ms) { rig.port.transcript << QStringLiteral("pause %1").arg(ms); });
        connect(&rig.form, &SerialForm::exchanged, &rig.form,
                [&rig](const QString &sent) { rig.port.transcript << "log " + sent; });
        rig.port.answer("$0SID3", "*\r");
        rig.port.answer("$0RID", "*0\r");
        rig.port.answer("$0RD", "*1.5\r");

        QVERIFY(rig.form.sendrcv("$0SID3", false));
        QVERIFY(rig.form.sendrcv("$0RID", false));
        QCOMPARE(rig.form.sendrcv_timer("$0RD", false), QStringLiteral("1.5"));
        QVERIFY(!rig.form.sendrcv("$0RXM", false));

        const QStringList expected{
            "pause 5", "> $0SID3", "< *\r",   "pause 7", "log $0SID3", // set command
            "pause 5", "> $0RID",  "< *0\r",  "pause 10", "log $0RID", // any other
            "> $0RD",  "< *1.5\r", "log $0RD",                         // poll: no pauses
            "pause 5", "> $0RXM",                                      // time-out: none after
        };
        QCOMPARE(rig.port.transcript, expected);
        QCOMPARE(SerialForm::Timing().setCommandPause, 0);
        QCOMPARE(SerialForm::Timing().pauseBefore, 5);
        QCOMPARE(SerialForm::Timing().pauseAfter, 10);
    }

    void closedPortSendsNothing()
    {
        Rig rig;
        rig.port.answer("$0RUN", "*MM\r");
        QVERIFY(rig.form.sendrcv_nodeid("RUN"));
        rig.form.disconnect_qtx();
        rig.port.wire.clear();
        rig.log->clear();

        QVERIFY(!rig.form.sendrcv_nodeid("RUN"));
        QVERIFY(!rig.form.sendrcv_long("$0SFD"));
        QCOMPARE(rig.form.sendrcv_timer("$0RD"), QString());
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("MM"));
        QVERIFY(rig.port.wire.isEmpty());
        QCOMPARE(rig.log->size(), 0);
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    // A poll tick or a click handled inside the wait asks for a second exchange: it goes
    // out only after the first reply was taken, and each call gets its own reply.
    void secondExchangeDuringWait()
    {
        Rig rig;
        rig.port.answer("$0RXM", "*first\r", 150);
        rig.port.answer("$0RUN", "*second\r", 20);
        bool busyDuringWait = false;
        bool nestedOk = false;
        QString nestedReply;
        QTimer::singleShot(30, &rig.form, [&] {
            busyDuringWait = rig.form.is_busy();
            nestedOk = rig.form.sendrcv_nodeid("RUN", false);
            nestedReply = rig.form.rcvstring();
        });
        QVERIFY(rig.form.sendrcv_nodeid("RXM", false));
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("first"));
        QVERIFY(busyDuringWait);
        QVERIFY(nestedOk);
        QCOMPARE(nestedReply, QStringLiteral("second"));
        const QStringList expected{"> $0RXM", "< *first\r", "> $0RUN", "< *second\r"};
        QCOMPARE(rig.port.transcript, expected);
        QCOMPARE(rig.log->size(), 2);
        QVERIFY(!rig.form.is_busy());
    }

    // Three exchanges stacked: the earliest waiter does not lose its turn for good.
    void thirdExchangeDuringWait()
    {
        Rig rig;
        rig.port.answer("$0RA", "*a\r", 120);
        rig.port.answer("$0RB", "*b\r", 60);
        rig.port.answer("$0RC", "*c\r", 10);
        QStringList results;
        QTimer::singleShot(20, &rig.form, [&] {
            QTimer::singleShot(20, &rig.form, [&] {
                results << (rig.form.sendrcv_nodeid("RC", false) ? rig.form.rcvstring() : "fail C");
            });
            results << (rig.form.sendrcv_nodeid("RB", false) ? rig.form.rcvstring() : "fail B");
        });
        QVERIFY(rig.form.sendrcv_nodeid("RA", false));
        results << rig.form.rcvstring();
        QCOMPARE(rig.port.messages().size(), 3);
        QCOMPARE(rig.port.messages().first(), QByteArray("$0RA"));
        // Replies follow their messages one by one.
        for (int i = 0; i < rig.port.transcript.size(); i += 2) {
            QVERIFY(rig.port.transcript.at(i).startsWith("> $0R"));
            QCOMPARE(rig.port.transcript.at(i + 1), "< *" + rig.port.transcript.at(i).mid(5).toLower() + "\r");
        }
        QCOMPARE(results.size(), 3);
        QCOMPARE(results.last(), QStringLiteral("a"));
        QVERIFY(results.contains("b") && results.contains("c"));
    }

    void cablePulledDuringWait_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("plain") << int(Addressed);
        QTest::newRow("poll") << int(Poll);
    }
    void cablePulledDuringWait()
    {
        QFETCH(int, kind);
        Rig rig;
        rig.port.answer("$0RUN", "*MM\r");
        QVERIFY(rig.form.sendrcv_nodeid("RUN"));
        rig.positionTimer.start();
        QSignalSpy status(&rig.form, &SerialForm::statusText);
        QSignalSpy lost(&rig.form, &SerialForm::connectionLost);
        rig.port.answer("$0RXM", "*1\r", 5000);
        rig.port.answer("$0RD", "*1\r", 5000);
        QTimer::singleShot(50, &rig.port, [&rig] { rig.port.pull(); });

        QElapsedTimer clock;
        clock.start();
        const QString result = rig.run(Kind(kind), kind == Poll ? "$0RD" : "RXM");
        QVERIFY(clock.elapsed() < 4000);
        QCOMPARE(result, kind == Poll ? QString() : QStringLiteral("false"));
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("MM"));
        QVERIFY(!rig.form.is_connected());
        QVERIFY(!rig.form.is_busy());
        QVERIFY(!rig.positionTimer.isActive());
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.at(0).at(0).toString(), QStringLiteral("Disconnected"));
        QCOMPARE(lost.size(), 1);
        QCOMPARE(rig.log->size(), 1);
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void writeFailureClosesThePort()
    {
        Rig rig;
        QSignalSpy lost(&rig.form, &SerialForm::connectionLost);
        rig.port.failWrites = true;
        QVERIFY(!rig.form.sendrcv_nodeid("RXM", false));
        QVERIFY(!rig.form.is_connected());
        QCOMPARE(lost.size(), 1);
        QCOMPARE(rig.log->size(), 0);
    }

    void disconnectDuringWait()
    {
        Rig rig;
        rig.port.answer("$0RXM", "*1\r", 5000);
        QTimer::singleShot(50, &rig.form, [&rig] { rig.form.disconnect_qtx(); });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!rig.form.sendrcv_long_nodeid("RXM"));
        QVERIFY(clock.elapsed() < 4000);
        QVERIFY(rig.prompt.messages.isEmpty());
        QCOMPARE(rig.log->size(), 0);
    }

    // Quitting the application ends every event loop at once, the waits included; they
    // must end as if the port had closed instead of spinning.
    void applicationQuitDuringWait()
    {
        Rig rig;
        rig.port.silence("$0RXM");
        rig.port.silence("$0RUN");
        QStringList results;
        QTimer::singleShot(0, &rig.form, [&] {
            QTimer::singleShot(30, &rig.form, [&] {
                results << (rig.form.sendrcv_long_nodeid("RUN", false) ? "true" : "false");
            });
            results << (rig.form.sendrcv_long_nodeid("RXM", false) ? "true" : "false");
        });
        QTimer::singleShot(150, qApp, [] { QCoreApplication::quit(); });
        QElapsedTimer clock;
        clock.start();
        QCoreApplication::exec();
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(results, (QStringList{"false", "false"}));
        QVERIFY(!rig.form.is_busy());
        QCOMPARE(rig.port.messages(), QList<QByteArray>{"$0RXM"});
        // The link still works afterwards.
        rig.port.answer("$0RUN", "*MM\r");
        QVERIFY(rig.form.sendrcv_nodeid("RUN", false));
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
