#include "WindowRig.h"

#include "shell/AboutBox.h"
#include "shell/NodeIDForm.h"

#include <QTemporaryDir>
#include <QToolBar>


// Every command of the window fired while an exchange waits for its reply (an upload, a
// download, a position poll, a connection attempt): messages never interleave, each
// exchange takes its own reply, and the window and the device end in a truthful state.
class TestCommandsDuringExchange : public QObject
{
    Q_OBJECT

    QMap<QString, QString> reference;
    QMap<QString, QString> factoryReference;
    QTemporaryDir dir;
    QString referenceFile;

    // Answers the modal dialog a command opens, once it is up: node 0 again for the node
    // ID dialog, OK for the about box.
    static void answerModalSoon(int triesLeft = 100)
    {
        QTimer::singleShot(20, qApp, [triesLeft] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *nodeForm = qobject_cast<NodeIDForm *>(modal)) {
                nodeForm->findChild<QComboBox *>(QStringLiteral("NodeCombo"))->setEditText(QStringLiteral("0"));
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
        if (command == QLatin1String("ConnectButton")) {
            rig.clickConnect();
        } else if (command == QLatin1String("tbConnect")) {
            auto *toolbar = rig.find<QToolBar>(QStringLiteral("tbToolBar"));
            QTest::mouseClick(toolbar->widgetForAction(rig.action(command)), Qt::LeftButton);
        } else if (command == QLatin1String("close")) {
            rig.window->close();
        } else {
            if (command == QLatin1String("NodeMenu") || command == QLatin1String("AboutMenu"))
                answerModalSoon();
            rig.trigger(command);
        }
    }

    static QStringList lines(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        reference = referenceTexts();
        factoryReference = factoryTexts();

        Rig saver(true);
        saver.clickConnect();
        referenceFile = dir.filePath(QStringLiteral("device.txt"));
        saver.prompt.saveName = referenceFile;
        saver.trigger(QStringLiteral("SaveMenu"));
        QCOMPARE(lines(referenceFile).size(), saver.itemTexts().size());
    }

    void commandWhileWaiting_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("during");
        const QStringList commands{"LoadMenu",     "SaveMenu",      "ExitMenu",       "DownloadMenu",
                                   "UploadMenu",   "NodeMenu",      "ResetUnitsMenu", "MenuFactory",
                                   "AutoUpMenu",   "MagPosnMenu",   "LogMenu",        "ContentsMenu",
                                   "QTX2ManualMenu", "AboutMenu",   "tbConnect",      "ConnectButton",
                                   "close",        "SaveLogMenu",   "TrendMenu"};
        for (const char *during : {"upload", "download", "poll", "connect"})
            for (const QString &command : commands)
                QTest::addRow("%s during %s", qPrintable(command), during) << command << QString::fromLatin1(during);
    }
    void commandWhileWaiting()
    {
        QFETCH(QString, command);
        QFETCH(QString, during);
        Rig rig(true);
        rig.window->show();
        rig.setWaits(2000, 2000, 10000, false);
        rig.prompt.openName = referenceFile;
        rig.prompt.saveName = dir.filePath(QStringLiteral("saved.txt"));
        QFile::remove(rig.prompt.saveName);
        if (during != QLatin1String("connect")) {
            rig.clickConnect();
            QCOMPARE(rig.differences(reference).join("; "), QString());
        }

        static const QHash<QString, QString> awaited{
            {"upload", "$0RXG"}, {"download", "$0SdP5"}, {"poll", "$0RD"}, {"connect", "$0RMV"}};
        const QString target = awaited.value(during);
        FaultSettings slow;
        slow.commandLatencyMs.insert(target.mid(2), 60);
        rig.port.device().setFaults(slow);
        bool fired = false;
        int sentAtFiring = -1;
        rig.port.onWrite = [&](const QString &message) {
            if (fired || message != target)
                return;
            fired = true;
            QTimer::singleShot(10, &rig.port, [&] {
                QVERIFY(rig.link()->is_busy()); // the reply is still awaited
                sentAtFiring = rig.port.sentMessages().size();
                fire(rig, command);
            });
        };

        if (during == QLatin1String("upload"))
            rig.trigger(QStringLiteral("UploadMenu"));
        else if (during == QLatin1String("download"))
            rig.trigger(QStringLiteral("DownloadMenu"));
        else if (during == QLatin1String("connect"))
            rig.clickConnect();
        QTRY_VERIFY(fired && sentAtFiring >= 0);
        QTRY_VERIFY(!rig.link()->is_busy());
        QTest::qWait(100);
        rig.port.onWrite = nullptr;
        rig.port.device().setFaults(FaultSettings());

        QCOMPARE(rig.port.violations.join("; "), QString());
        QCOMPARE(rig.prompt.messages, QStringList());
        QVERIFY(!QApplication::activeModalWidget());

        const bool quits = command == QLatin1String("ExitMenu") || command == QLatin1String("close");
        const bool disconnects = command == QLatin1String("tbConnect") || command == QLatin1String("ConnectButton");
        if (quits) {
            QCOMPARE(rig.quits, 1);
            QVERIFY(!rig.connected());
            QCOMPARE(rig.port.sentMessages().size(), sentAtFiring);
            return;
        }
        QCOMPARE(rig.quits, 0);
        if (disconnects) {
            VERIFY_DISCONNECTED(rig);
            QCOMPARE(rig.panel1(), during == QLatin1String("connect") ? QStringLiteral("Timeout attempting to connect to QTX2")
                                                                        : QStringLiteral("Disconnected"));
            QCOMPARE(rig.panel2(), QString());
            QCOMPARE(rig.foreignValues(reference).join("; "), QString());
            rig.clickConnect();
            QVERIFY(rig.connected());
            rig.trigger(QStringLiteral("UploadMenu"));
            QCOMPARE(rig.differences(reference).join("; "), QString());
            QCOMPARE(rig.port.violations.join("; "), QString());
            return;
        }

        QVERIFY(rig.connected());
        QVERIFY2(rig.panel1().startsWith(QLatin1String("Connected to QTXv2.05 on COM1@19200bps with Node ID 0")),
                 qPrintable(rig.panel1()));
        // A download ends with its check: every value read back matches.
        const bool downloaded = during == QLatin1String("download") || (command == "DownloadMenu" && during == "poll");
        QCOMPARE(rig.panel2(), downloaded ? QStringLiteral("Download verified: 86 of 86 settings match") : QString());
        // Every reply went to its own exchange: the form holds what the device sent.
        QMap<QString, QString> expected = reference;
        if (command == QLatin1String("MenuFactory") && during == QLatin1String("poll"))
            expected = factoryReference;
        if (command == QLatin1String("AutoUpMenu") && during == QLatin1String("connect"))
            expected = rig.initial; // switched off before the connection got to read
        QCOMPARE(rig.differences(expected).join("; "), QString());
        if (command == QLatin1String("SaveMenu")) {
            const QStringList saved = lines(rig.prompt.saveName);
            QCOMPARE(saved.size(), reference.size());
            QVERIFY(saved.first().startsWith(QLatin1String("PU")));
        }
        // And the device holds what the form sent.
        rig.trigger(QStringLiteral("UploadMenu"));
        QCOMPARE(rig.differences(expected == rig.initial ? reference : expected).join("; "), QString());
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
        QCOMPARE(rig.port.violations.join("; "), QString());
    }
};

QTEST_MAIN(TestCommandsDuringExchange)
#include "tst_commandsduringexchange.moc"
