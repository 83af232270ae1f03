#include "WindowRig.h"

#include "shell/NodeIDForm.h"

#include <QCheckBox>
#include <QPlainTextEdit>

// A misbehaving QTX2 behind the real window: each scenario connects and transfers through
// the window's own controls and checks what the user is shown and what reaches the form.
class TestDeviceFaults : public QObject
{
    Q_OBJECT

    QMap<QString, QString> reference;
    QMap<QString, QString> factoryReference;

    static void withFault(Rig &rig, const std::function<void(FaultSettings &)> &change)
    {
        FaultSettings f = rig.port.device().faults();
        change(f);
        rig.port.device().setFaults(f);
    }

    // After a fault has gone, the window connects again and reads every value right.
    void recovers(Rig &rig)
    {
        rig.port.device().setFaults(FaultSettings());
        if (rig.connected())
            rig.clickConnect();
        rig.find<QComboBox>("SerNodeCombo")->setCurrentIndex(0);
        rig.clickConnect();
        QVERIFY2(rig.panel1().startsWith("Connected to QTXv2.05"), qPrintable(rig.panel1()));
        rig.trigger("UploadMenu");
        QCOMPARE(rig.differences(reference).join("; "), QString());
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
        QCOMPARE(rig.panel2(), QString());
    }

    // Opens the node ID dialog from its menu, chooses node 3 and presses OK.
    static void changeNodeToThree(Rig &rig)
    {
        QTimer::singleShot(0, &rig.port, [] {
            auto *dialog = qobject_cast<NodeIDForm *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QComboBox *>(QStringLiteral("NodeCombo"))->setEditText(QStringLiteral("3"));
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
        });
        rig.trigger(QStringLiteral("NodeMenu"));
    }

private slots:
    void initTestCase()
    {
        reference = referenceTexts();
        factoryReference = factoryTexts();
    }

    // Devices that cannot be connected to: the attempt fails with its own text, the window
    // is disconnected, no value changes and nothing is said in a box.
    void connectionRefused_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("selector"); // 0 "Auto", n + 1 node n
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("silent") << "silent" << 0 << QStringList{"$0RID", "$0RMV"};
        QTest::newRow("identity 320 ms late") << "late" << 0 << QStringList{"$0RID", "$0RMV"};
        QTest::newRow("reply pieces 320 ms apart") << "gaps" << 1 << QStringList{"$0RMV"};
        QTest::newRow("endless reply") << "endless" << 1 << QStringList{"$0RMV"};
        QTest::newRow("node 4, chosen 0") << "node4" << 1 << QStringList{"$0RMV"};
        QTest::newRow("listens at 3, reports 0, Auto") << "listens3" << 0 << QStringList{"$0RID", "$0RMV"};
    }
    void connectionRefused()
    {
        QFETCH(QString, fault);
        QFETCH(int, selector);
        QFETCH(QStringList, sent);
        Rig rig(true);
        rig.port.checkOrder = false;
        if (fault == "node4")
            rig.port.device().setNode(4);
        withFault(rig, [&](FaultSettings &f) {
            f.silent = fault == "silent";
            f.endlessReply = fault == "endless";
            f.answerAtNode = fault == "listens3" ? 3 : -1;
            if (fault == "late")
                f.commandLatencyMs.insert("RMV", 320);
            if (fault == "gaps") {
                f.chunkSize = 5; // "*QTXv" "2.05\r"
                f.chunkGapMs = 320;
            }
        });
        rig.find<QComboBox>("SerNodeCombo")->setCurrentIndex(selector);
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
        VERIFY_DISCONNECTED(rig);
        QCOMPARE(rig.commands(), sent);
        QCOMPARE(rig.itemTexts(), rig.initial);
        QVERIFY(rig.prompt.messages.isEmpty());
        QTest::qWait(350); // every late piece arrives before the recovery
        if (fault == "node4")
            rig.port.device().setNode(0);
        recovers(rig);
    }

    // Replies just inside the wait of their kind, in pieces, with noise around them or at
    // another node: every exchange still takes its own reply, and a reply that comes too
    // late is not taken by the exchanges that follow.
    void oddReplies_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("selector");
        QTest::addColumn<int>("node");
        QTest::newRow("identity 120 ms") << "RMV:120" << 0 << 0;
        QTest::newRow("parameter read 120 ms") << "RdP:120" << 0 << 0;
        QTest::newRow("parameter read 320 ms: that value stays") << "RdP:320" << 0 << 0;
        QTest::newRow("node query 320 ms: node 0") << "RID:320" << 0 << 0;
        QTest::newRow("pieces 120 ms apart") << "gaps" << 1 << 0;
        QTest::newRow("two-byte pieces") << "pieces" << 0 << 0;
        QTest::newRow("line feed after CR, alone") << "lf" << 0 << 0;
        QTest::newRow("noise after the reply") << "suffix" << 0 << 0;
        QTest::newRow("bytes above 127 before it") << "high" << 0 << 0;
        QTest::newRow("digits before it") << "digits" << 0 << 0;
        QTest::newRow("random bytes before it") << "random" << 0 << 0;
        QTest::newRow("node 4, Auto") << "node4" << 0 << 4;
        QTest::newRow("listens at 3, chosen 3") << "listens3" << 4 << 3;
    }
    void oddReplies()
    {
        QFETCH(QString, fault);
        QFETCH(int, selector);
        QFETCH(int, node);
        Rig rig(true);
        rig.port.checkOrder = false;
        rig.setWaits(fault == "gaps" ? 200 : 2000, 2000, 10000, false);
        if (fault.contains(':'))
            rig.setWaits(200);
        if (fault == "node4")
            rig.port.device().setNode(4);
        withFault(rig, [&](FaultSettings &f) {
            if (fault.contains(':'))
                f.commandLatencyMs.insert(fault.section(':', 0, 0), fault.section(':', 1).toInt());
            f.chunkSize = fault == "gaps" ? 5 : fault == "pieces" ? 2 : fault == "lf" ? 1 : 0;
            f.chunkGapMs = fault == "gaps" ? 120 : 1;
            f.lineFeed = fault == "lf";
            f.garbageSuffix = fault == "suffix" ? QByteArray("\xfe\x81\n") : QByteArray();
            f.garbagePrefix = fault == "high" ? QByteArray("\xff\x80\xb5") : QByteArray(fault == "digits" ? "17" : "");
            f.randomGarbage = fault == "random" ? 6 : 0;
            f.randomSeed = 7; // this seed's noise never begins with "*"
            f.answerAtNode = fault == "listens3" ? 3 : -1;
        });
        rig.find<QComboBox>("SerNodeCombo")->setCurrentIndex(selector);
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM1@19200bps with Node ID %1").arg(node));
        const bool lostRead = fault == "RdP:320";
        QCOMPARE(rig.foreignValues(reference).join("; "), QString());
        QCOMPARE(rig.differences(reference).join("; "), lostRead ? QStringLiteral("PlacesItem=0 (device: 5)") : QString());
        for (const QString &m : rig.commands())
            QVERIFY2(m == "$0RID" || m.startsWith(QStringLiteral("$%1").arg(node)), qPrintable(m));
        if (!lostRead) {
            rig.trigger("DownloadMenu");
            QVERIFY(rig.prompt.messages.isEmpty());
            QCOMPARE(rig.port.device().value("XT"), QStringLiteral("PWM"));
        }
        QTest::qWait(350);
        if (fault == "node4")
            rig.port.device().setNode(0);
        recovers(rig);
    }

    // Position polls wait longer than other reads; one that times out shows "No Magnet"
    // and leaves nothing for the upload after it.
    void positionPollTimes_data()
    {
        QTest::addColumn<int>("latency");
        QTest::newRow("350 ms: in time") << 350;
        QTest::newRow("700 ms: too late") << 700;
    }
    void positionPollTimes()
    {
        QFETCH(int, latency);
        Rig rig;
        rig.port.checkOrder = false;
        rig.clickConnect();
        rig.find<QCheckBox>("PosnCheck")->setChecked(true);
        withFault(rig, [&](FaultSettings &f) { f.commandLatencyMs.insert("RD", latency); });
        auto *log = rig.find<QPlainTextEdit>("LogText");
        if (latency < 500) {
            QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains(QRegularExpression("\\$0RD -> -?\\d")), 5000);
            QVERIFY(!log->toPlainText().contains("Timeout") && rig.dispPosn() != "No Magnet");
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains("$0RD ->  Timeout"), 5000);
            QTRY_COMPARE_WITH_TIMEOUT(rig.dispPosn(), QStringLiteral("No Magnet"), 5000);
        }
        rig.trigger("UploadMenu");
        QCOMPARE(rig.differences(reference).join("; "), QString());
    }

    // The factory reset waits the long time for "SFD"; here the long wait is shortened so
    // that both sides of it fit a short test.
    void factoryResetReplyTimes_data()
    {
        QTest::addColumn<int>("latency");
        QTest::newRow("600 ms of 1 s") << 600;
        QTest::newRow("1300 ms of 1 s") << 1300;
    }
    void factoryResetReplyTimes()
    {
        QFETCH(int, latency);
        Rig rig(true);
        rig.port.checkOrder = false;
        rig.clickConnect();
        rig.setWaits(200, 500, 1000);
        withFault(rig, [&](FaultSettings &f) { f.commandLatencyMs.insert("SFD", latency); });
        rig.port.clearWire();
        rig.trigger("MenuFactory");
        const QStringList sent = rig.commands(); // after the backup's reads
        QCOMPARE(sent.mid(sent.indexOf("$0WE"), 3), QStringList({"$0WE", "$0SFD", "$0WP"}));
        QCOMPARE(rig.window->logPane()->text().contains("$0SFD -> "), latency < 1000);
        // The device did reset; the form shows its factory values, each in its own item.
        QCOMPARE(rig.itemTexts().value("PlacesItem"), QStringLiteral("3"));
        QCOMPARE(rig.itemTexts().value("TTypeItem"), QStringLiteral("SSI Binary"));
        const QMap<QString, QString> afterReset = rig.itemTexts();
        QTest::qWait(latency);
        rig.port.device().setFaults(FaultSettings());
        rig.trigger("UploadMenu");
        QCOMPARE(rig.itemTexts(), afterReset);
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
    }

    // The cable comes off in the middle of each command that talks to the device: the
    // window ends disconnected and says so, keeps no value the device never sent, and
    // connects and reads again once the cable is back.
    void duringCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("waitingFor"); // the message whose reply is awaited when the cable goes
        QTest::addColumn<int>("afterMessages");  // > 0: the device pulls it after this many more replies
        QTest::newRow("upload") << "UploadMenu" << "$0RXG" << 0;
        QTest::newRow("upload, first read") << "UploadMenu" << "$0RPU" << 0;
        QTest::newRow("upload, device side") << "UploadMenu" << "" << 20;
        QTest::newRow("download") << "DownloadMenu" << "$0SdP5" << 0;
        QTest::newRow("download, write enable") << "DownloadMenu" << "$0WE" << 0;
        QTest::newRow("download, device side") << "DownloadMenu" << "" << 86 + 20; // after the backup's reads
        QTest::newRow("factory reset, SFD") << "MenuFactory" << "$0SFD" << 0;
        QTest::newRow("factory reset, read back") << "MenuFactory" << "$0RXG" << 0;
        QTest::newRow("node ID change") << "NodeMenu" << "$0SID3" << 0;
        QTest::newRow("position poll") << "" << "$0RD" << 0;
        QTest::newRow("position poll, device side") << "" << "" << 1;
    }
    void duringCommand()
    {
        QFETCH(QString, command);
        QFETCH(QString, waitingFor);
        QFETCH(int, afterMessages);
        Rig rig(true);
        rig.clickConnect();
        rig.port.checkOrder = false;

        Qtx2Device &device = rig.port.device();
        if (afterMessages > 0) {
            FaultSettings f;
            f.pullCableAfter = device.messagesReceived() + afterMessages;
            device.setFaults(f);
        } else {
            // The awaited reply takes a while, and the cable comes off meanwhile.
            FaultSettings f;
            f.commandLatencyMs.insert(waitingFor.mid(2), 80); // a whole command text
            device.setFaults(f);
            rig.port.onWrite = [&rig, waitingFor, command](const QString &message) {
                // A factory reset reads the device for its backup before it resets it.
                if (message == waitingFor && (command != "MenuFactory" || rig.commands().contains("$0SFD")))
                    QTimer::singleShot(20, &rig.port, [&rig] { rig.port.pullCable(); });
            };
        }

        if (command == QLatin1String("NodeMenu"))
            changeNodeToThree(rig);
        else if (!command.isEmpty())
            rig.trigger(command);
        QTRY_VERIFY(rig.port.cablePulled());
        rig.port.onWrite = nullptr;

        QCOMPARE(rig.panel1(), QStringLiteral("Disconnected"));
        VERIFY_DISCONNECTED(rig);
        QCOMPARE(rig.dispPosn(), QString());
        QCOMPARE(rig.panel2(), QString());
        QCOMPARE(rig.foreignValues(reference, factoryReference).join("; "), QString());
        if (command == QLatin1String("NodeMenu"))
            QCOMPARE(rig.prompt.messages, QStringList({"Could not change node ID"}));
        else
            QCOMPARE(rig.prompt.messages, QStringList());
        // Nothing more goes out on a dead line.
        const int sent = rig.port.sentMessages().size();
        QTest::qWait(300);
        QCOMPARE(rig.port.sentMessages().size(), sent);

        // The cable goes back: the device is found again, at whatever node it now has, and
        // every value is read right.
        device.setFaults(FaultSettings());
        rig.port.plugCable();
        rig.port.resync();
        rig.port.checkOrder = true;
        rig.clickConnect();
        QVERIFY2(rig.panel1().startsWith(QLatin1String("Connected to QTXv2.05 on COM1@19200bps")), qPrintable(rig.panel1()));
        const bool reset = device.value("XT") != QLatin1String("PWM");
        QCOMPARE(rig.differences(reset ? factoryReference : reference).join("; "), QString());
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
        QCOMPARE(rig.port.violations.join("; "), QString());
        if (command == QLatin1String("MenuFactory") && waitingFor == QLatin1String("$0SFD"))
            QVERIFY(reset); // the device had taken the command before its reply was lost
        if (command == QLatin1String("NodeMenu"))
            QVERIFY(rig.panel1().endsWith(QLatin1String("with Node ID 3")));
    }

    // A megabyte without a carriage return arrives while a read waits: that exchange
    // fails, the buffer stays bounded, and the reads that follow take their own replies.
    void megabyteWithoutEnd()
    {
        Rig rig;
        rig.port.checkOrder = false;
        rig.clickConnect();
        rig.port.onWrite = [&rig](const QString &message) {
            if (message == "$0RdP")
                rig.port.inject(QByteArray(1 << 20, 'x'));
        };
        rig.trigger("UploadMenu");
        rig.port.onWrite = nullptr;
        QCOMPARE(rig.foreignValues(reference).join("; "), QString());
        QCOMPARE(rig.itemTexts().value("PlacesItem"), rig.initial.value("PlacesItem"));
        QVERIFY(rig.connected());
        QCOMPARE(rig.panel2(), QString());
        recovers(rig);
    }
};

QTEST_MAIN(TestDeviceFaults)
#include "tst_devicefaults.moc"
