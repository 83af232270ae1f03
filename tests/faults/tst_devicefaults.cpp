#include "WindowRig.h"

#include <QCheckBox>
#include <QPlainTextEdit>


// A misbehaving QTX2 behind the real window: each scenario connects and transfers through
// the window's own controls and checks what the user is shown and what reaches the form.
class TestDeviceFaults : public QObject
{
    Q_OBJECT

    QMap<QString, QString> reference;

    static void withFault(Rig &rig, const std::function<void(FaultSettings &)> &change)
    {
        FaultSettings f = rig.port.device().faults();
        change(f);
        rig.port.device().setFaults(f);
    }
    static void healthy(Rig &rig) { rig.port.device().setFaults(FaultSettings()); }

    // After a fault has gone, the window connects again and reads every value right.
    void recovers(Rig &rig)
    {
        healthy(rig);
        if (rig.connected())
            rig.clickConnect();
        if (rig.port.cablePulled())
            rig.port.plugCable();
        rig.clickConnect();
        QVERIFY2(rig.panel1().startsWith(QLatin1String("Connected to QTXv2.05")), qPrintable(rig.panel1()));
        rig.trigger(QStringLiteral("UploadMenu"));
        QCOMPARE(rig.differences(reference).join("; "), QString());
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
        QCOMPARE(rig.panel2(), QString());
    }

private slots:
    void initTestCase() { reference = referenceTexts(); }

    void silentDevice()
    {
        Rig rig(true);
        withFault(rig, [](FaultSettings &f) { f.silent = true; });
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
        VERIFY_DISCONNECTED(rig);
        QCOMPARE(rig.commands(), QStringList({"$0RID", "$0RMV"}));
        QCOMPARE(rig.itemTexts(), rig.initial);
        QVERIFY(rig.prompt.messages.isEmpty());
        recovers(rig);
    }

    // Replies just inside and just outside the wait of their exchange's kind.
    void replyTimes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("latency");
        QTest::addColumn<bool>("inTime");
        QTest::newRow("identity 120 ms") << "RMV" << 120 << true;
        QTest::newRow("identity 320 ms") << "RMV" << 320 << false;
        QTest::newRow("parameter read 120 ms") << "RdP" << 120 << true;
        QTest::newRow("parameter read 320 ms") << "RdP" << 320 << false;
        QTest::newRow("node query 320 ms") << "RID" << 320 << false;
    }
    void replyTimes()
    {
        QFETCH(QString, command);
        QFETCH(int, latency);
        QFETCH(bool, inTime);
        Rig rig(true);
        rig.port.checkOrder = false;
        withFault(rig, [&](FaultSettings &f) { f.commandLatencyMs.insert(command, latency); });
        rig.clickConnect();

        if (command == QLatin1String("RMV")) {
            QCOMPARE(rig.connected(), inTime);
            if (!inTime) {
                QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
                VERIFY_DISCONNECTED(rig);
            }
        } else {
            // A late node ID is taken as node 0, which is right for this device.
            QVERIFY(rig.connected());
            QVERIFY(rig.panel1().endsWith(QLatin1String("with Node ID 0")));
        }
        const QString places = rig.itemTexts().value(QStringLiteral("PlacesItem"));
        if (command == QLatin1String("RdP"))
            QCOMPARE(places, inTime ? reference.value(QStringLiteral("PlacesItem")) : rig.initial.value(QStringLiteral("PlacesItem")));
        // A reply that comes too late is not taken by the exchanges that follow.
        QCOMPARE(rig.foreignValues(reference).join("; "), QString());
        if (rig.connected() && command != QLatin1String("RdP"))
            QCOMPARE(rig.differences(reference).join("; "), QString());
        QTest::qWait(latency); // let every late reply arrive before the recovery
        recovers(rig);
    }

    void positionPollTimes_data()
    {
        QTest::addColumn<int>("latency");
        QTest::addColumn<bool>("inTime");
        QTest::newRow("350 ms") << 350 << true;
        QTest::newRow("700 ms") << 700 << false;
    }
    void positionPollTimes()
    {
        QFETCH(int, latency);
        QFETCH(bool, inTime);
        Rig rig;
        rig.port.checkOrder = false;
        rig.clickConnect();
        QVERIFY(rig.connected());
        rig.find<QCheckBox>(QStringLiteral("PosnCheck"))->setChecked(true);
        withFault(rig, [&](FaultSettings &f) { f.commandLatencyMs.insert(QStringLiteral("RD"), latency); });
        auto *log = rig.find<QPlainTextEdit>(QStringLiteral("LogText"));
        if (inTime) {
            // The device's display reading, as sent (a number), never "No Magnet".
            QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains(QRegularExpression("\\$0RD -> -?\\d")), 5000);
            QVERIFY(!log->toPlainText().contains(QLatin1String("Timeout")));
            QVERIFY(rig.dispPosn() != QLatin1String("No Magnet"));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains(QLatin1String("$0RD ->  Timeout")), 5000);
            QTRY_COMPARE_WITH_TIMEOUT(rig.dispPosn(), QStringLiteral("No Magnet"), 5000);
        }
        // An upload right after a late poll reply takes only its own replies.
        rig.trigger(QStringLiteral("UploadMenu"));
        QCOMPARE(rig.differences(reference).join("; "), QString());
        QVERIFY(rig.connected());
    }

    // The factory reset waits the long time for "SFD"; here the long wait is shortened so
    // that both sides of it fit a short test.
    void factoryResetReplyTimes_data()
    {
        QTest::addColumn<int>("latency");
        QTest::addColumn<bool>("inTime");
        QTest::newRow("600 ms of 1 s") << 600 << true;
        QTest::newRow("1300 ms of 1 s") << 1300 << false;
    }
    void factoryResetReplyTimes()
    {
        QFETCH(int, latency);
        QFETCH(bool, inTime);
        Rig rig(true);
        rig.port.checkOrder = false;
        rig.clickConnect();
        QCOMPARE(rig.differences(reference).join("; "), QString());
        rig.setWaits(200, 500, 1000);
        withFault(rig, [&](FaultSettings &f) { f.commandLatencyMs.insert(QStringLiteral("SFD"), latency); });
        rig.port.clearWire();
        rig.trigger(QStringLiteral("MenuFactory"));
        QCOMPARE(rig.commands().mid(0, 3), QStringList({"$0WE", "$0SFD", "$0WP"}));
        auto *log = rig.find<QPlainTextEdit>(QStringLiteral("LogText"));
        QCOMPARE(log->toPlainText().contains(QLatin1String("$0SFD -> ")), inTime);
        // The device did reset; the form shows its factory values, each in its own item.
        QCOMPARE(rig.itemTexts().value(QStringLiteral("PlacesItem")), QStringLiteral("3"));
        QCOMPARE(rig.itemTexts().value(QStringLiteral("TTypeItem")), QStringLiteral("SSI Binary"));
        const QMap<QString, QString> afterReset = rig.itemTexts();
        QTest::qWait(latency);
        healthy(rig);
        rig.trigger(QStringLiteral("UploadMenu"));
        QCOMPARE(rig.itemTexts(), afterReset);
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
        QCOMPARE(rig.panel2(), QString());
    }

    // Reply shapes that must still give each exchange its own reply.
    void replyShapes_data()
    {
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<int>("chunkGap");
        QTest::addColumn<bool>("lineFeed");
        QTest::addColumn<QByteArray>("suffix");
        QTest::newRow("two-byte chunks") << 2 << 1 << false << QByteArray();
        QTest::newRow("line feed after CR") << 0 << 0 << true << QByteArray();
        QTest::newRow("line feed in its own chunk") << 1 << 1 << true << QByteArray();
        QTest::newRow("noise after the reply") << 0 << 0 << false << QByteArray("\xfe\x81\n");
    }
    void replyShapes()
    {
        QFETCH(int, chunkSize);
        QFETCH(int, chunkGap);
        QFETCH(bool, lineFeed);
        QFETCH(QByteArray, suffix);
        Rig rig(true);
        rig.port.checkOrder = false;
        rig.setWaits(2000, 2000, 10000, false);
        withFault(rig, [&](FaultSettings &f) {
            f.chunkSize = chunkSize;
            f.chunkGapMs = chunkGap;
            f.lineFeed = lineFeed;
            f.garbageSuffix = suffix;
        });
        rig.clickConnect();
        QVERIFY(rig.connected());
        QCOMPARE(rig.differences(reference).join("; "), QString());
        rig.trigger(QStringLiteral("DownloadMenu"));
        QVERIFY(rig.prompt.messages.isEmpty());
        QCOMPARE(rig.port.device().value("dP"), QStringLiteral("5"));
        QCOMPARE(rig.port.device().value("XT"), QStringLiteral("PWM"));
    }

    // Pieces of a reply with a gap inside the wait are joined; a gap beyond it ends the
    // exchange and the rest of the reply is not taken by the next one.
    void chunkGaps_data()
    {
        QTest::addColumn<int>("gap");
        QTest::addColumn<bool>("inTime");
        QTest::newRow("120 ms") << 120 << true;
        QTest::newRow("320 ms") << 320 << false;
    }
    void chunkGaps()
    {
        QFETCH(int, gap);
        QFETCH(bool, inTime);
        Rig rig;
        rig.port.checkOrder = false;
        rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->setCurrentIndex(1); // node 0, no query
        withFault(rig, [&](FaultSettings &f) {
            f.chunkSize = 5; // "*QTXv" "2.05\r"
            f.chunkGapMs = gap;
        });
        rig.clickConnect();
        QCOMPARE(rig.connected(), inTime);
        if (inTime) {
            QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM1@19200bps with Node ID 0"));
        } else {
            QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
            VERIFY_DISCONNECTED(rig);
        }
        recovers(rig);
    }

    // Noise ahead of the reply's "*" (line noise, bytes above 127) must not become part of
    // any value: the identity is recognised and every item shows the device's value.
    void noiseBeforeReply_data()
    {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<int>("random");
        QTest::addColumn<bool>("fromTheStart"); // else it starts after the connection
        QTest::newRow("bytes above 127") << QByteArray("\xff\x80\xb5") << 0 << true;
        QTest::newRow("digits") << QByteArray("17") << 0 << true;
        QTest::newRow("random bytes") << QByteArray() << 6 << true;
        QTest::newRow("upload: bytes above 127") << QByteArray("\xff\x80\xb5") << 0 << false;
        QTest::newRow("upload: digits") << QByteArray("17") << 0 << false;
        QTest::newRow("upload: random bytes") << QByteArray() << 6 << false;
    }
    void noiseBeforeReply()
    {
        QFETCH(QByteArray, prefix);
        QFETCH(int, random);
        QFETCH(bool, fromTheStart);
        Rig rig(true);
        rig.port.checkOrder = false;
        const auto noisy = [&](FaultSettings &f) {
            f.garbagePrefix = prefix;
            f.randomGarbage = random;
            // Noise that itself begins with "*" cannot be told from a reply; this seed's
            // noise never does.
            f.randomSeed = 7;
        };
        if (fromTheStart)
            withFault(rig, noisy);
        else
            rig.trigger(QStringLiteral("AutoUpMenu"));
        rig.clickConnect();
        if (!fromTheStart) {
            withFault(rig, noisy);
            rig.trigger(QStringLiteral("UploadMenu"));
        }
        QVERIFY2(rig.panel1().startsWith(QLatin1String("Connected to QTXv2.05 on COM1")), qPrintable(rig.panel1()));
        QCOMPARE(rig.differences(reference).join("; "), QString());
        recovers(rig);
    }

    // A megabyte without a carriage return arrives while a read waits: that exchange
    // fails, the buffer stays bounded, and the reads that follow take their own replies.
    void megabyteWithoutEnd()
    {
        Rig rig;
        rig.port.checkOrder = false;
        rig.clickConnect();
        QVERIFY(rig.connected());
        rig.port.onWrite = [&rig](const QString &message) {
            if (message == QLatin1String("$0RdP"))
                rig.port.inject(QByteArray(1 << 20, 'x'));
        };
        rig.trigger(QStringLiteral("UploadMenu"));
        rig.port.onWrite = nullptr;
        QCOMPARE(rig.foreignValues(reference).join("; "), QString());
        QCOMPARE(rig.itemTexts().value(QStringLiteral("PlacesItem")), rig.initial.value(QStringLiteral("PlacesItem")));
        QVERIFY(rig.connected());
        QCOMPARE(rig.panel2(), QString());
        rig.trigger(QStringLiteral("UploadMenu"));
        QCOMPARE(rig.differences(reference).join("; "), QString());
    }

    // A device whose replies never end: the exchange gives up once the reply outgrows any
    // real one, the connection fails, and once the stream stops the next attempt works.
    void endlessReply()
    {
        Rig rig(true);
        rig.port.checkOrder = false;
        rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->setCurrentIndex(1);
        withFault(rig, [](FaultSettings &f) { f.endlessReply = true; });
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
        VERIFY_DISCONNECTED(rig);
        QCOMPARE(rig.itemTexts(), rig.initial);
        recovers(rig);
    }

    // "$0RID" reports the device's node; a device that listens elsewhere is not found by
    // "Auto", only by choosing its node.
    void otherNode_data()
    {
        QTest::addColumn<int>("deviceNode");
        QTest::addColumn<int>("listensAt");
        QTest::addColumn<int>("selector"); // 0 "Auto", n + 1 node n
        QTest::addColumn<int>("connectedNode"); // -1: the attempt fails
        QTest::newRow("node 4, Auto") << 4 << -1 << 0 << 4;
        QTest::newRow("node 4, chosen 0") << 4 << -1 << 1 << -1;
        QTest::newRow("node 4, chosen 4") << 4 << -1 << 5 << 4;
        QTest::newRow("listens at 3 reports 0, Auto") << 0 << 3 << 0 << -1;
        QTest::newRow("listens at 3 reports 0, chosen 3") << 0 << 3 << 4 << 3;
    }
    void otherNode()
    {
        QFETCH(int, deviceNode);
        QFETCH(int, listensAt);
        QFETCH(int, selector);
        QFETCH(int, connectedNode);
        Rig rig(true);
        rig.port.device().setNode(deviceNode);
        withFault(rig, [&](FaultSettings &f) { f.answerAtNode = listensAt; });
        rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->setCurrentIndex(selector);
        rig.clickConnect();
        if (connectedNode < 0) {
            QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
            VERIFY_DISCONNECTED(rig);
            QCOMPARE(rig.itemTexts(), rig.initial);
            return;
        }
        QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM1@19200bps with Node ID %1").arg(connectedNode));
        QCOMPARE(rig.differences(reference).join("; "), QString());
        const QString prefix = QStringLiteral("$%1").arg(connectedNode);
        for (const QString &m : rig.commands())
            QVERIFY2(m == QLatin1String("$0RID") || m.startsWith(prefix), qPrintable(m));
    }
};

QTEST_MAIN(TestDeviceFaults)
#include "tst_devicefaults.moc"
