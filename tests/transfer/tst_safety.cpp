// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowRig.h"

#include "model/BackupStore.h"
#include "transfer/SettingsCompare.h"
#include "transfer/TransferCommands.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

// Nothing is lost between the form, the device and the backups: every download is read
// back, comparisons change nothing unasked, a backup before each reset and download brings
// the device back, and what the user changed stays marked until the device or a file has it.
class TestSafety : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    static void type(Rig &rig, const QString &item, const QString &text)
    {
        rig.find<SetupItem>(item)->findChild<QLineEdit *>(QStringLiteral("ValueText"))->setText(text);
    }
    static CompareDialog *dialog(Rig &rig) { return rig.window->settingsCompare()->dialog(); }
    static QStringList listed(Rig &rig)
    {
        QStringList codes;
        for (int r = 0; r < dialog(rig)->table()->rowCount(); ++r)
            codes << dialog(rig)->table()->item(r, 3)->text();
        return codes;
    }
    static QMap<QString, QString> deviceValues(Qtx2Device &device)
    {
        QMap<QString, QString> values;
        for (const Reference::Parameter &r : Reference::parameters())
            values.insert(r.code, device.value(r.code));
        return values;
    }

private slots:
    void init()
    {
        clearPreferences();
        QDir(BackupStore::defaultFolder()).removeRecursively();
        QFile::remove(BackupStore::defaultFolder());
    }

    // The device keeps every value but the one whose writes it ignores: the check after the
    // download names exactly that one, and shows its editor, behind its selector if it has one.
    void verifyNamesTheIgnoredParameter_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("code");
        QTest::newRow("integer") << "PlacesItem" << "dP";
        QTest::newRow("magnet offset") << "MagOffItem(3)" << "Pm4";
        QTest::newRow("limit bound") << "LimitUBItem(2)" << "L3U";
    }
    void verifyNamesTheIgnoredParameter()
    {
        QFETCH(QString, item);
        QFETCH(QString, code);
        Rig rig;
        rig.port.device().faults().ignoredWrite = code;
        rig.clickConnect();
        rig.trigger("UploadMenu");
        type(rig, item, "4");
        rig.trigger("DownloadMenu");
        QVERIFY(dialog(rig));
        QCOMPARE(listed(rig), QStringList{code});
        QCOMPARE(rig.panel2(), QStringLiteral("Download verify: 1 of 86 settings differ"));
        QTest::mouseClick(dialog(rig)->findChild<QPushButton *>("ShowButton"), Qt::LeftButton);
        QVERIFY(rig.find<SetupItem>(item)->isVisibleTo(rig.window.get()));
    }

    // Typed values and choices mark their fields and their tab, a unit choice marks nothing.
    // Both comparisons list exactly the edited fields, and taking the ticked values of the
    // device or the file puts them back; upload, download and open clear the marks.
    void editsThenCommand_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *command : {"CompareDeviceMenu", "CompareFileMenu", "UploadMenu", "DownloadMenu", "LoadMenu"})
            QTest::newRow(command) << command;
    }
    void editsThenCommand()
    {
        QFETCH(QString, command);
        Rig rig;
        rig.clickConnect();
        rig.trigger("UploadMenu");
        rig.save(rig.prompt.openName = dir.filePath("form.txt"));
        auto *preset = rig.find<SetupItem>("PresetItem(1)");
        preset->findChild<QComboBox *>("UnitsCombo")->setCurrentIndex(3);
        const QMap<QString, QString> before = rig.itemTexts();
        type(rig, "PlacesItem", "2");
        type(rig, "PresetItem(0)", "7.5");
        rig.find<SetupItem>("LeadingZerosItem")->findChild<QComboBox *>("ListCombo")->setCurrentIndex(0);
        auto *places = rig.find<SetupItem>("PlacesItem");
        QVERIFY(places->hasChangedMark() && !preset->hasChangedMark());
        QCOMPARE(places->findChild<QWidget *>("ChangeMark")->accessibleName(), QStringLiteral("changed"));
        QCOMPARE(rig.window->tabs()->tabText(0), QStringLiteral("Display (2)"));
        QCOMPARE(rig.captionColour(), QColor(255, 0, 0));
        QFile file(rig.prompt.openName); // lines the form would not take are named, not passed over
        QVERIFY(file.open(QIODevice::Append) && file.write("XM99\r\nZZ1\r\n"));
        file.close();
        rig.trigger(command);
        if (command == "CompareFileMenu") {
            const QString heading = dialog(rig)->findChild<QLabel *>("CompareHeading")->text();
            QVERIFY2(heading.contains("refused (outside their limits or no such choice): \"XM99\"")
                         && heading.contains("no known setting: \"ZZ1\""), qPrintable(heading));
        }
        if (command.startsWith("Compare")) {
            QCOMPARE(listed(rig), QStringList({"p1", "dZ", "dP"}));
            for (int r : {0, 2})
                dialog(rig)->table()->item(r, 0)->setCheckState(Qt::Checked);
            QTest::mouseClick(dialog(rig)->findChild<QPushButton *>("TakeButton"), Qt::LeftButton);
            QMap<QString, QString> taken = before;
            taken.insert("LeadingZerosItem", "Yes"); // left unticked: the form keeps its own
            QCOMPARE(rig.itemTexts(), taken);
        } else {
            QVERIFY(!places->hasChangedMark());
            QCOMPARE(rig.window->tabs()->tabText(0), QStringLiteral("Display"));
        }
    }

    // A mark goes only with evidence that the device got the edit: an edit made after its
    // setting's exchange in the same walk, a read without a reply and a refused write keep
    // theirs (the captions stay red); another edit in the same walk loses its mark.
    void marksFollowWhatTheDeviceGot_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("item");
        QTest::newRow("edit after its write") << "DownloadMenu" << "" << "PresetItem(0)";
        QTest::newRow("read not answered") << "UploadMenu" << "RdP" << "PlacesItem";
        QTest::newRow("write refused") << "DownloadMenu" << "SdP=ERR WP" << "PlacesItem";
    }
    void marksFollowWhatTheDeviceGot()
    {
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(QString, item);
        Rig rig;
        rig.clickConnect();
        rig.trigger("UploadMenu");
        type(rig, "HoldoffItem", "30");
        if (fault.isEmpty()) {
            connect(rig.window->transferCommands(), &TransferCommands::progress, [&rig, item](const QString &text) {
                if (text == "Downloading...  50%")
                    type(rig, item, "7");
            });
        } else {
            type(rig, item, "2");
            rig.port.device().faults().replies.insert(fault.section('=', 0, 0), fault.contains('=') ? fault.section('=', 1) : QString());
        }
        rig.trigger(command);
        QVERIFY(rig.find<SetupItem>(item)->hasChangedMark());
        QVERIFY(!rig.find<SetupItem>("HoldoffItem")->hasChangedMark());
        QCOMPARE(rig.captionColour(), QColor(255, 0, 0));
    }

    // A factory reset, by the device or by the form, leaves a backup; opened from Restore
    // Backup and downloaded, it brings the device back to what it held, text for text, also
    // in a metric unit. The backup that would be the 51st removes the oldest; other files in
    // the folder stay.
    void backupRestoresTheDevice_data()
    {
        QTest::addColumn<bool>("deviceReset");
        QTest::addColumn<QStringList>("held");
        const QStringList metric{"PU=MM", "PO=950", "p3=0.3", "p4=0.7", "AR=12.7"};
        QTest::newRow("device reset") << true << QStringList();
        QTest::newRow("form reset") << false << QStringList();
        QTest::newRow("device reset, metric") << true << metric;
        QTest::newRow("form reset, metric") << false << metric;
    }
    void backupRestoresTheDevice()
    {
        QFETCH(bool, deviceReset);
        QFETCH(QStringList, held);
        const QString folder = BackupStore::defaultFolder();
        const QString old = folder + "/2020-01-01 00-00-%1 COM1 node 0 before download.txt";
        QVERIFY(QDir().mkpath(folder) && QFile(folder + "/notes.txt").open(QIODevice::WriteOnly));
        for (int i = 0; i < 49; ++i)
            QVERIFY(QFile(old.arg(i, 2, 10, QLatin1Char('0'))).open(QIODevice::WriteOnly));
        Rig rig;
        rig.port.device().faults().noFactoryCommand = !deviceReset;
        for (const QString &value : held)
            QVERIFY(rig.port.device().setValue(value.section('=', 0, 0), value.section('=', 1)));
        rig.clickConnect();
        const QMap<QString, QString> before = deviceValues(rig.port.device());
        rig.trigger("MenuFactory");
        Qtx2Device fresh(Reference::device()); // the factory state, but for the unit's own serial number
        QMap<QString, QString> now = deviceValues(rig.port.device()), factory = deviceValues(fresh);
        now.remove("CS");
        factory.remove("CS");
        QVERIFY(now == factory && now != before);
        QCOMPARE(BackupStore().backups().size(), 50);
        const QRegularExpression name("/\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d #1 COM1 node 0 before factory reset\\.txt$");
        QVERIFY2(name.match(BackupStore().backups().at(0)).hasMatch(), qPrintable(BackupStore().backups().at(0)));

        QSignalSpy progress(rig.window->transferCommands(), &TransferCommands::progress);
        QSignalSpy verifying(rig.window->settingsCompare(), &SettingsCompare::progress);
        rig.prompt.chosen = 0;
        rig.trigger("RestoreBackupMenu");
        rig.trigger("DownloadMenu");
        QCOMPARE(rig.panel2(), QStringLiteral("Download verified: 86 of 86 settings match"));
        QCOMPARE(deviceValues(rig.port.device()), before);
        const QStringList kept = BackupStore().backups();
        QVERIFY(kept.size() == 50 && kept.filter("/2020-").size() == 48 && kept.filter(" COM1 node 0 before download.txt").size() == 49);
        QVERIFY(kept.last() == old.arg("01") && QFile::exists(folder + "/notes.txt"));
        QVERIFY(progress.contains({QStringLiteral("Backing up...   50%")}));
        QVERIFY(verifying.contains({QStringLiteral("Verifying...   50%")}));
        rig.clickConnect(); // without a connection a reset sends nothing
        rig.port.clearWire();
        rig.trigger("MenuFactory");
        QVERIFY(rig.port.sentMessages().isEmpty());
    }

    // A backup folder that cannot be made stops the reset with a question; only going on
    // without a backup resets the device.
    void unwritableFolderStopsTheReset_data()
    {
        QTest::addColumn<bool>("goOn");
        QTest::newRow("stop") << false;
        QTest::newRow("go on without") << true;
    }
    void unwritableFolderStopsTheReset()
    {
        QFETCH(bool, goOn);
        QVERIFY(QDir().mkpath(QFileInfo(BackupStore::defaultFolder()).path()));
        QVERIFY(QFile(BackupStore::defaultFolder()).open(QIODevice::WriteOnly)); // a file in its place
        Rig rig;
        rig.prompt.answer = goOn;
        rig.clickConnect();
        rig.trigger("MenuFactory");
        QCOMPARE(rig.prompt.questions.size(), 1);
        QVERIFY2(rig.prompt.questions[0].contains("could not be saved"), qPrintable(rig.prompt.questions[0]));
        QCOMPARE(rig.commands().contains("$0SFD"), goOn);
    }

    // The link lost in the middle of a backup or a verify read: no backup is saved, the
    // download goes on only when asked to and then sends nothing and claims nothing (the
    // edit keeps its mark, the captions are not black), and no match is claimed for what
    // was not read.
    void lostLinkLeavesNoFalseResult_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::newRow("backup read") << true;
        QTest::newRow("verify read") << false;
    }
    void lostLinkLeavesNoFalseResult()
    {
        QFETCH(bool, backup);
        Rig rig;
        rig.clickConnect();
        rig.trigger("UploadMenu");
        rig.action("BackupMenu")->setChecked(backup);
        rig.prompt.answer = true; // go on without a backup
        type(rig, "PlacesItem", "2");
        // The 40th read from here on pulls the cable (no position poll runs during a walk);
        // the port calls a copy of the hook, so the count lives outside it.
        rig.port.checkOrder = false;
        rig.port.onWrite = [&rig, count = std::make_shared<int>(0)](const QString &message) {
            if (message.startsWith(QLatin1String("$0R")) && ++*count == 40)
                rig.port.pullCable();
        };
        rig.trigger("DownloadMenu");
        QCOMPARE(rig.panel1(), QStringLiteral("Disconnected"));
        QVERIFY(BackupStore().backups().isEmpty());
        if (backup) {
            QCOMPARE(rig.prompt.questions.size(), 1);
            QVERIFY2(rig.prompt.questions[0].contains("incomplete (Disconnected): 39 of 86"), qPrintable(rig.prompt.questions[0]));
            QVERIFY(!rig.commands().join(' ').contains("$0S"));
            QVERIFY(rig.find<SetupItem>("PlacesItem")->hasChangedMark());
            QCOMPARE(rig.captionColour(), rig.grey());
            QVERIFY2(rig.panel2().startsWith("Download incomplete (Disconnected): 0 of 86 settings written"), qPrintable(rig.panel2()));
        } else {
            QCOMPARE(rig.panel2(), QStringLiteral("Download verify incomplete (Disconnected): 39 of 86 settings read"));
        }
    }
};

QTEST_MAIN(TestSafety)
#include "tst_safety.moc"
