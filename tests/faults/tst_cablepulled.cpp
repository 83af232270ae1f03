#include "WindowRig.h"

#include "shell/NodeIDForm.h"


// The cable comes off in the middle of each command that talks to the device: the window
// must end disconnected and say so, keep no value the device never sent, and connect and
// read again once the cable is back.
class TestCablePulled : public QObject
{
    Q_OBJECT

    QMap<QString, QString> reference;
    QMap<QString, QString> factoryReference;

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
        QVERIFY(factoryReference != reference);
    }

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
        QTest::newRow("download, device side") << "DownloadMenu" << "" << 20;
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
        QCOMPARE(rig.differences(reference).join("; "), QString());
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
            rig.port.onWrite = [&rig, waitingFor](const QString &message) {
                if (message == waitingFor)
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
};

QTEST_MAIN(TestCablePulled)
#include "tst_cablepulled.moc"
