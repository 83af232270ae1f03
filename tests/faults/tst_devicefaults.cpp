// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowRig.h"

#include "shell/AboutBox.h"
#include "shell/NodeIDForm.h"

#include <QCheckBox>
#include <QTemporaryDir>

// A misbehaving QTX2, a pulled cable or a command at the wrong moment, behind the real
// window: each scenario works the window's own controls and checks what the user is shown,
// what reaches the form and what reaches the device.
class TestDeviceFaults : public QObject
{
    Q_OBJECT

    QMap<QString, QString> reference;
    QMap<QString, QString> factoryReference;
    QTemporaryDir dir;

    // Answers the modal dialog a command opens, once it is up: node 3 for the node ID
    // dialog, OK for the about box.
    static void answerModalSoon(int triesLeft = 100)
    {
        QTimer::singleShot(20, qApp, [triesLeft] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *nodeForm = qobject_cast<NodeIDForm *>(modal)) {
                nodeForm->findChild<QComboBox *>(QStringLiteral("NodeCombo"))->setEditText(QStringLiteral("3"));
                QTest::mouseClick(nodeForm->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
            } else if (auto *about = qobject_cast<AboutBox *>(modal)) {
                QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
            } else if (triesLeft > 0) {
                answerModalSoon(triesLeft - 1);
            }
        });
    }

    static void fire(Rig &rig, const QString &command)
    {
        if (command == QLatin1String("ConnectButton"))
            rig.clickConnect();
        else if (command == QLatin1String("close"))
            rig.window->close();
        else if (command == QLatin1String("pull"))
            rig.port.pullCable();
        else if (!command.isEmpty()) {
            if (command == QLatin1String("NodeMenu") || command == QLatin1String("AboutMenu"))
                answerModalSoon();
            rig.trigger(command);
        }
    }

private slots:
    void initTestCase()
    {
        reference = referenceTexts();
        factoryReference = referenceTexts(true);
    }

    // A device that does not answer: the attempt fails with its own text, the window is
    // disconnected, no value changes and nothing is said in a box.
    void silentDevice()
    {
        Rig rig(true);
        FaultSettings silent;
        silent.silent = true;
        rig.port.device().setFaults(silent);
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
        VERIFY_DISCONNECTED(rig);
        QCOMPARE(rig.commands(), QStringList({"$0RID", "$0RMV"}));
        QCOMPARE(rig.itemTexts(), rig.initial);
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    // Each exchange waits as long as its kind allows (here 0.1 s plain, 0.3 s for a position
    // poll, 0.7 s for the factory reset): a reply inside it is taken, one after it fails that
    // exchange ("No Magnet" for a poll) and is not taken by the upload after it.
    void waitOfItsKind_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("latency");
        QTest::newRow("poll 200 ms: in time") << "RD" << 200;
        QTest::newRow("poll 450 ms: too late") << "RD" << 450;
        QTest::newRow("factory reset 500 ms: in time") << "SFD" << 500;
        QTest::newRow("factory reset 900 ms: too late") << "SFD" << 900;
    }
    void waitOfItsKind()
    {
        QFETCH(QString, command);
        QFETCH(int, latency);
        const bool inTime = latency < (command == "RD" ? 300 : 700);
        Rig rig(true);
        rig.port.checkOrder = false;
        rig.clickConnect();
        rig.setWaits(100, 300, 700);
        rig.find<QCheckBox>("PosnCheck")->setChecked(true);
        FaultSettings slow;
        slow.commandLatencyMs.insert(command, latency);
        rig.port.device().setFaults(slow);
        LogPane *log = rig.window->logPane();
        if (command == "RD") {
            QTRY_VERIFY_WITH_TIMEOUT(log->text().contains("$0RD -> "), 5000);
            QCOMPARE(log->text().contains("$0RD ->  Timeout"), !inTime);
            QTRY_COMPARE(rig.dispPosn() == "No Magnet", !inTime);
        } else {
            rig.port.clearWire();
            rig.trigger("MenuFactory");
            const QStringList sent = rig.commands(); // after the backup's reads
            QCOMPARE(sent.mid(sent.indexOf("$0WE"), 3), QStringList({"$0WE", "$0SFD", "$0WP"}));
            QCOMPARE(log->text().contains("$0SFD -> "), inTime);
            // The device did reset; the form shows its factory values, each in its own item.
            QCOMPARE(rig.differences(factoryReference).join("; "), QString());
        }
        const QMap<QString, QString> before = rig.itemTexts();
        rig.port.device().setFaults(FaultSettings());
        rig.trigger("UploadMenu");
        QCOMPARE(rig.itemTexts(), before);
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
    }

    // Rows "event/by/awaited": a command, "pull" or "pull after n" (the device pulls the
    // cable after n more messages); the command that waits, empty for the position poll; and
    // the message whose reply it waits for.
    void eventDuringExchange_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("by");
        QTest::addColumn<QString>("awaited");
        for (const char *row :
             {"DownloadMenu/UploadMenu/$0RXG", "UploadMenu/DownloadMenu/$0SdP5", "MenuFactory/UploadMenu/$0RXG",
              "MenuFactory//$0RD", "DownloadMenu//$0RD", "DownloadMenu/ConnectButton/$0RMV", "AutoUpMenu/ConnectButton/$0RMV",
              "ConnectButton/UploadMenu/$0RXG", "ConnectButton/ConnectButton/$0RMV", "ConnectButton//$0RD",
              "ExitMenu/UploadMenu/$0RXG", "ExitMenu/ConnectButton/$0RMV", "close/DownloadMenu/$0SdP5", "NodeMenu//$0RD",
              "NodeMenu/UploadMenu/$0RXG", "AboutMenu/UploadMenu/$0RXG",
              "SaveMenu/UploadMenu/$0RXG", "ResetUnitsMenu/UploadMenu/$0RXG", "MagPosnMenu//$0RD", "TrendMenu//$0RD",
              "pull/UploadMenu/$0RXG", "pull/UploadMenu/$0RPU", "pull/DownloadMenu/$0SdP5", "pull/DownloadMenu/$0WE",
              "pull/MenuFactory/$0SFD", "pull/MenuFactory/$0RXG", "pull/NodeMenu/$0SID3", "pull//$0RD",
              "pull/ConnectButton/$0RMV", "pull after 20/UploadMenu/", "pull after 106/DownloadMenu/", "pull after 1//"}) {
            const QStringList p = QString::fromLatin1(row).split(QLatin1Char('/'));
            QTest::newRow(row) << p[0] << p[1] << p[2];
        }
    }
    void eventDuringExchange()
    {
        QFETCH(QString, event);
        QFETCH(QString, by);
        QFETCH(QString, awaited);
        Rig rig(true);
        rig.window->show();
        rig.setWaits(2000, 2000, 10000);
        rig.prompt.saveName = dir.filePath(QStringLiteral("saved.txt"));
        QFile::remove(rig.prompt.saveName);
        if (by != QLatin1String("ConnectButton"))
            rig.clickConnect();

        Qtx2Device &device = rig.port.device();
        FaultSettings slow;
        if (event.startsWith(QLatin1String("pull after")))
            slow.pullCableAfter = device.messagesReceived() + event.section(' ', 2).toInt();
        else
            slow.commandLatencyMs.insert(awaited.mid(2), 60);
        device.setFaults(slow);
        bool fired = false;
        int sentAtFiring = -1;
        rig.port.onWrite = [&](const QString &message) {
            // A factory reset reads the device for its backup before it resets it.
            if (fired || message != awaited || (by == "MenuFactory" && !rig.commands().contains("$0SFD")))
                return;
            fired = true;
            QTimer::singleShot(10, &rig.port, [&] {
                QVERIFY(rig.link()->isBusy()); // the reply is still awaited
                sentAtFiring = rig.port.sentMessages().size();
                fire(rig, event);
            });
        };
        fire(rig, by);
        const bool pulled = event.startsWith(QLatin1String("pull"));
        QTRY_VERIFY(pulled ? rig.port.cablePulled() : sentAtFiring >= 0);
        QTRY_VERIFY(!rig.link()->isBusy());
        QTest::qWait(100);
        rig.port.onWrite = nullptr;
        device.setFaults(FaultSettings());

        QCOMPARE(rig.port.violations.join("; "), QString());
        const bool nodeLost = pulled && by == QLatin1String("NodeMenu");
        QCOMPARE(rig.prompt.messages, nodeLost ? QStringList{"Could not change node ID"} : QStringList());
        QVERIFY(!QApplication::activeModalWidget());
        if (event == QLatin1String("ExitMenu") || event == QLatin1String("close")) {
            QCOMPARE(rig.quits, 1);
            QVERIFY(!rig.connected());
            QCOMPARE(rig.port.sentMessages().size(), sentAtFiring);
            return;
        }
        QCOMPARE(rig.quits, 0);
        const QString node = by == QLatin1String("NodeMenu") || event == QLatin1String("NodeMenu") ? "3" : "0";
        QMap<QString, QString> expected = reference;
        if (pulled || event == QLatin1String("ConnectButton")) {
            VERIFY_DISCONNECTED(rig);
            QCOMPARE(rig.panel1(), by == QLatin1String("ConnectButton") ? QStringLiteral("Timeout attempting to connect to QTX2")
                                                                           : QStringLiteral("Disconnected"));
            // A walk the link was lost in says so; nothing else is claimed.
            const QString said = by == "DownloadMenu" ? "Download incomplete (Disconnected): "
                : awaited == "$0SFD"                  ? "Factory reset not confirmed: $0SFD (no reply)"
                : by == "UploadMenu" || by == "MenuFactory" ? "Upload incomplete (Disconnected): " : "";
            QVERIFY2(said.isEmpty() ? rig.panel2().isEmpty() : rig.panel2().startsWith(said), qPrintable(rig.panel2()));
            QCOMPARE(rig.dispPosn(), QString());
            QCOMPARE(rig.foreignValues(reference, factoryReference).join("; "), QString());
            // The cable goes back: the device is found again at whatever node it now has.
            rig.port.plugCable();
            rig.port.resync();
            rig.clickConnect();
            if (device.value("XT") != QLatin1String("PWM"))
                expected = factoryReference;
            if (awaited == QLatin1String("$0SFD"))
                QCOMPARE(expected, factoryReference); // the device had taken it before its reply was lost
        } else {
            // A download ends with its check: every value read back matches.
            const bool downloaded = by == "DownloadMenu" || (event == "DownloadMenu" && by.isEmpty());
            QCOMPARE(rig.panel2(), downloaded ? QStringLiteral("Download verified: 86 of 86 settings match") : QString());
            if (event == QLatin1String("MenuFactory") && by.isEmpty())
                expected = factoryReference;
            if (event == QLatin1String("AutoUpMenu"))
                expected = rig.initial; // switched off before the connection got to read
            // Every reply went to its own exchange: the form holds what the device sent.
            QCOMPARE(rig.differences(expected).join("; "), QString());
            QFile saved(rig.prompt.saveName);
            QCOMPARE(saved.open(QIODevice::ReadOnly), event == QLatin1String("SaveMenu"));
            const QByteArray text = saved.readAll();
            QVERIFY(!saved.isOpen() || (text.startsWith("PU") && text.count('\n') == reference.size()));
            // And the device holds what the form sent.
            rig.trigger(QStringLiteral("UploadMenu"));
            if (expected == rig.initial)
                expected = reference;
        }
        QCOMPARE(rig.panel1(), "Connected to QTXv2.05 on COM1@19200bps with Node ID " + node);
        QCOMPARE(rig.differences(expected).join("; "), QString());
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
        QCOMPARE(rig.port.violations.join("; "), QString());
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
        QCOMPARE(rig.differences(reference).join("; "), QStringLiteral("PlacesItem=0 (device: 5)"));
        QVERIFY(rig.connected());
        QCOMPARE(rig.panel2(), QStringLiteral("Upload incomplete: 85 of 86 settings read; not read: dP (no reply)"));
        rig.trigger("UploadMenu");
        QCOMPARE(rig.panel2(), QString());
        QCOMPARE(rig.differences(reference).join("; "), QString());
    }
};

QTEST_MAIN(TestDeviceFaults)
#include "tst_devicefaults.moc"
