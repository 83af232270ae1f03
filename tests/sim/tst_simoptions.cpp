#include "SimOptions.h"

#include <QtTest>

// The simulator's command line: each option reaches the device's fault switches.
class TestSimOptions : public QObject
{
    Q_OBJECT

    static SimOptions parsed(const QStringList &args, SimOptions::Outcome expected = SimOptions::Outcome::Run)
    {
        SimOptions o;
        QString message;
        const SimOptions::Outcome outcome = SimOptions::parse(QStringList{"qtx2-sim"} + args, &o, &message);
        if (outcome != expected)
            qWarning("%s", qPrintable(message));
        [&] { QCOMPARE(int(outcome), int(expected)); }();
        return o;
    }

private slots:
    void everyOption()
    {
        const SimOptions o = parsed({"--port", "16", "--node", "9", "--baud", "1200", "--line-time",
                                     "--latency", "150", "--chunk", "4", "--chunk-gap", "30", "--lf",
                                     "--garbage", "\\xff\\x80ab", "--garbage-after", "\\r\\n",
                                     "--garbage-random", "5", "--silent", "--no-factory",
                                     "--no-transducer", "--pull-after", "7", "--answer-node", "3",
                                     "--endless", "--magnets", "15", "--sfd-delay", "2500",
                                     "--device-version", "QTXv2.10", "--ports-folder", "/tmp/p",
                                     "--quit-after-seconds", "9", "--verbose"});
        QCOMPARE(o.port, 16);
        QCOMPARE(o.node, 9);
        QCOMPARE(o.baud, 1200);
        QVERIFY(o.lineTime && o.verbose);
        QCOMPARE(o.magnets, 15);
        QCOMPARE(o.version, QStringLiteral("QTXv2.10"));
        QCOMPARE(o.portsFolder, QStringLiteral("/tmp/p"));
        QCOMPARE(o.quitAfterSeconds, 9);
        const FaultSettings &f = o.faults;
        QCOMPARE(f.latencyMs, 150);
        QCOMPARE(f.chunkSize, 4);
        QCOMPARE(f.chunkGapMs, 30);
        QVERIFY(f.lineFeed && f.silent && f.noFactoryCommand && f.noTransducer && f.endlessReply);
        QCOMPARE(f.garbagePrefix, QByteArray("\xff\x80" "ab"));
        QCOMPARE(f.garbageSuffix, QByteArray("\r\n"));
        QCOMPARE(f.randomGarbage, 5);
        QCOMPARE(f.pullCableAfter, 7);
        QCOMPARE(f.answerAtNode, 3);
        QCOMPARE(f.commandLatencyMs.value("SFD"), 2500);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("port 0") << QStringList{"--port", "0"};
        QTest::newRow("port 17") << QStringList{"--port", "17"};
        QTest::newRow("node 10") << QStringList{"--node", "10"};
        QTest::newRow("node text") << QStringList{"--node", "one"};
        QTest::newRow("magnets 0") << QStringList{"--magnets", "0"};
        QTest::newRow("negative latency") << QStringList{"--latency", "-5"};
        QTest::newRow("chunk 0") << QStringList{"--chunk", "0"};
        QTest::newRow("unknown option") << QStringList{"--frobnicate"};
        QTest::newRow("missing value") << QStringList{"--port"};
        QTest::newRow("stray argument") << QStringList{"COM1"};
    }
    void refused()
    {
        QFETCH(QStringList, args);
        SimOptions o;
        QString message;
        QCOMPARE(SimOptions::parse(QStringList{"qtx2-sim"} + args, &o, &message), SimOptions::Outcome::Error);
        QVERIFY(!message.isEmpty());
    }

    void help()
    {
        SimOptions o;
        QString message;
        QCOMPARE(SimOptions::parse({"qtx2-sim", "--help"}, &o, &message), SimOptions::Outcome::Help);
        QVERIFY(message.contains("--no-transducer"));
    }

    void unescape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << "abc" << QByteArray("abc");
        QTest::newRow("hex") << "\\x00\\xFF" << QByteArray("\x00\xff", 2);
        QTest::newRow("controls") << "\\r\\n\\t" << QByteArray("\r\n\t");
        QTest::newRow("backslash") << "a\\\\b" << QByteArray("a\\b");
        QTest::newRow("bad hex kept") << "\\xZZ" << QByteArray("\\xZZ");
        QTest::newRow("short hex kept") << "\\x4" << QByteArray("\\x4");
        QTest::newRow("trailing backslash") << "a\\" << QByteArray("a\\");
    }
    void unescape()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(SimOptions::unescape(text), bytes);
    }
};

QTEST_GUILESS_MAIN(TestSimOptions)
#include "tst_simoptions.moc"
