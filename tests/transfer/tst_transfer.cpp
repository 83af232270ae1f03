#include "RecordingPrompt.h"
#include "SimPort.h"
#include "catalogue/FactoryDefaults.h"
#include "catalogue/ParameterTable.h"
#include "catalogue/SetupForm.h"
#include "items/LengthUnits.h"
#include "items/ListItem.h"
#include "link/SerialForm.h"
#include "transfer/ItemTrack.h"
#include "transfer/TransferCommands.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// One form with its own item list, link and commands, as the window wires them.
struct Rig
{
    explicit Rig(SimPort *port)
    {
        link = std::make_unique<SerialForm>(port, &prompt);
        timer.setInterval(250);
        timer.start();
        link->setPositionTimer(&timer);
        units.fill_factors();
        form = std::make_unique<SetupForm>(ItemContext{&track, link.get(), &units}, &tabs);
        commands = std::make_unique<TransferCommands>(&track, link.get(), form.get(), &units, &timer, &prompt);
        form->build_catalogue();
        form->update_disabled();
        QObject::connect(commands.get(), &TransferCommands::syncColour, [this](SyncColour c) { colour = c; });
    }
    bool connect()
    {
        return link->scan_ports() && link->open_qtx("COM1", "19200 bps", -1);
    }
    QStringList values() const
    {
        QStringList out;
        for (SetupItem *item : track.item_list())
            out << item->get_serstring() + "=" + item->value_text();
        return out;
    }
    SetupItem *item(const QString &control, int index = -1) { return form->item(control, index); }
    void choose(const QString &control, const QString &token, int index = -1)
    {
        item(control, index)->set_value_variant(token);
    }
    void type(const QString &control, int index, const QString &text)
    {
        auto *edit = item(control, index)->findChild<QLineEdit *>("ValueText");
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    RecordingPrompt prompt;
    QTimer timer;
    LengthUnits units;
    ItemTrack track;
    QTabWidget tabs;
    std::unique_ptr<SerialForm> link;
    std::unique_ptr<SetupForm> form;
    std::unique_ptr<TransferCommands> commands;
    SyncColour colour = SyncColour::NoDevice;
};

class TestTransfer : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimPort> port;
    std::unique_ptr<Rig> rig;
    QTemporaryDir dir;

    static QStringList readCommands(const QStringList &sent)
    {
        QStringList out;
        for (const QString &m : sent)
            out << m.mid(2);
        return out;
    }
    QStringList codesInListOrder(const QString &prefix)
    {
        QStringList out;
        for (SetupItem *item : rig->track.item_list())
            if (item->get_serstring() != "PU")
                out << prefix + item->get_serstring();
        return out;
    }

private slots:
    void init()
    {
        port = std::make_unique<SimPort>();
        rig = std::make_unique<Rig>(port.get());
    }
    void cleanup()
    {
        rig.reset();
        port.reset();
    }

    void uploadReadsUnitsFirstThenEveryItemOnce()
    {
        QVERIFY(rig->connect());
        port->clearWire();
        QSignalSpy progress(rig->commands.get(), &TransferCommands::progress);
        rig->commands->upload();
        const QStringList sent = readCommands(port->sentMessages());
        QCOMPARE(sent.first(), QStringLiteral("RPU"));
        QCOMPARE(sent.mid(1), codesInListOrder("R"));
        QCOMPARE(progress.count(), 87);
        QCOMPARE(progress.at(0).at(0).toString(), QStringLiteral("Uploading...    1%"));
        QCOMPARE(progress.at(4).at(0).toString(), QStringLiteral("Uploading...    6%"));
        QCOMPARE(progress.at(42).at(0).toString(), QStringLiteral("Uploading...   50%"));
        QCOMPARE(progress.at(85).at(0).toString(), QStringLiteral("Uploading...  100%"));
        QCOMPARE(progress.last().at(0).toString(), QString());
        QVERIFY(rig->timer.isActive());
        QCOMPARE(rig->colour, SyncColour::InStep);
    }

    void downloadWritesUnitsFirstThenEveryItemOnce()
    {
        QVERIFY(rig->connect());
        port->clearWire();
        QSignalSpy progress(rig->commands.get(), &TransferCommands::progress);
        rig->commands->download();
        const QStringList sent = readCommands(port->sentMessages());
        QCOMPARE(sent.at(0), QStringLiteral("WE"));
        QCOMPARE(sent.at(1), QStringLiteral("SPUINCHES"));
        QStringList codes;
        for (const QString &m : sent.mid(2)) {
            QVERIFY2(m.startsWith('S'), qPrintable(m));
            codes << m;
        }
        QCOMPARE(codes.size(), 85);
        // Typed text is not limited: the form's initial 0 goes out although Decimal Places starts at 1.
        QVERIFY(codes.contains("SdP0"));
        QCOMPARE(progress.at(0).at(0).toString(), QStringLiteral("Downloading...   1%"));
        QCOMPARE(progress.at(85).at(0).toString(), QStringLiteral("Downloading... 100%"));
        QCOMPARE(rig->colour, SyncColour::InStep);
    }

    void lengthsFollowTheDeviceUnit()
    {
        // The device works in millimetres; the form starts in inches.
        port->device().setValue("PU", "MM");
        port->device().setValue("p1", "25.4");
        port->device().setValue("AR", "508");
        QVERIFY(rig->connect());
        rig->commands->upload();
        QCOMPARE(rig->item("UnitsItem")->value_text(), QStringLiteral("MM"));
        QCOMPARE(rig->units.current_units(), 3);
        QCOMPARE(rig->item("PresetItem", 0)->value_text(), QStringLiteral("1.0000"));
        QCOMPARE(rig->item("ARangeItem")->value_text(), QStringLiteral("20.0000"));

        // Written back, the device holds the same lengths in its own unit.
        rig->type("PresetItem", 0, "2");
        rig->commands->download();
        QCOMPARE(port->device().value("p1"), QStringLiteral("50.8"));
        QCOMPARE(port->device().value("AR"), QStringLiteral("508"));
    }

    void walkInsideAWalkDoesNothing()
    {
        QVERIFY(rig->connect());
        port->clearWire();
        int nested = 0;
        QObject::connect(rig->commands.get(), &TransferCommands::progress, [&](const QString &text) {
            if (text.startsWith("Uploading...    1%") && nested++ == 0) {
                rig->commands->upload();
                rig->commands->download();
            }
        });
        rig->commands->upload();
        QCOMPARE(nested, 1);
        QCOMPARE(port->sentMessages().size(), 86);
    }

    void disconnectDuringUploadEndsQuietly()
    {
        QVERIFY(rig->connect());
        const QString before = rig->item("PlacesItem")->value_text();
        QObject::connect(rig->commands.get(), &TransferCommands::progress, [&](const QString &text) {
            if (text == "Uploading...   12%")
                rig->link->disconnect_qtx();
        });
        port->clearWire();
        rig->commands->upload();
        QVERIFY(port->sentMessages().size() < 20);
        QCOMPARE(rig->colour, SyncColour::NoDevice);
        QVERIFY(rig->timer.isActive());
        // Items after the drop keep what they showed: nothing stale is parsed into them.
        QCOMPARE(rig->item("PlacesItem")->value_text(), before);
    }

    void saveThenLoadRestoresEveryItem()
    {
        rig->commands->factory_reset(); // every item holds a value of its own kind
        rig->choose("UnitsItem", "MM");
        rig->units.set_current_units(3);
        rig->choose("TTypeItem", "PWM");
        rig->type("PlacesItem", -1, "4");
        rig->type("PresetItem", 7, "-12.5000");
        rig->type("SSIMaskItem", -1, "0000FFFF");
        rig->type("CanSerialItem", -1, "80000001");
        rig->type("ScaleItem", -1, "0.5000");
        rig->type("MagOffItem", 9, "3.2500");
        rig->choose("LimitActItem", "OUTSIDE", 3);
        const QStringList saved = rig->values();
        rig->prompt.saveName = dir.filePath("settings.txt");
        rig->commands->save_file();
        QVERIFY(rig->prompt.messages.isEmpty());

        QFile file(rig->prompt.saveName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.first(), QByteArray("PUMM\r"));
        QCOMPARE(lines.size(), 87); // 86 lines and the empty rest after the last LF
        file.close();

        // A fresh program: another form, whose unit is still inches.
        SimPort otherPort;
        Rig fresh(&otherPort);
        fresh.prompt.openName = rig->prompt.saveName;
        fresh.commands->open_file();
        QCOMPARE(fresh.values(), saved);
    }

    void lineEndsOfOtherSystemsLoadAlike_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
        QTest::newRow("CR LF") << QByteArray("\r\n");
    }
    void lineEndsOfOtherSystemsLoadAlike()
    {
        QFETCH(QByteArray, end);
        QFile file(dir.filePath("ends.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("PUCM" + end + "dP5" + end + "dZYES" + end + "p33" + end + "garbage" + end + "XeFF" + end);
        file.close();
        rig->prompt.openName = file.fileName();
        rig->commands->open_file();
        QCOMPARE(rig->item("PlacesItem")->value_text(), QStringLiteral("5"));
        QCOMPARE(rig->item("LeadingZerosItem")->value_text(), QStringLiteral("Yes"));
        QCOMPARE(rig->item("UnitsItem")->value_text(), QStringLiteral("CM"));
        QCOMPARE(rig->item("SSIMaskItem")->value_text(), QStringLiteral("000000FF"));
        // 3 cm, shown in the preset's own unit (inches).
        QCOMPARE(rig->item("PresetItem", 2)->value_text(), QStringLiteral("1.181102"));
    }

    void openingNothingChangesNothing()
    {
        const QStringList before = rig->values();
        rig->prompt.openName = dir.filePath("does-not-exist");
        rig->commands->open_file();
        rig->prompt.openName.clear();
        rig->commands->open_file();
        QCOMPARE(rig->values(), before);
        QVERIFY(rig->prompt.messages.isEmpty());

        rig->prompt.openName = dir.path(); // a folder
        rig->commands->open_file();
        QCOMPARE(rig->values(), before);
        QCOMPARE(rig->prompt.messages.size(), 1);
    }

    void failedSaveKeepsTheOldFile()
    {
        rig->prompt.saveName = dir.filePath("no/such/folder/x.txt");
        rig->commands->save_file();
        QCOMPARE(rig->prompt.messages.size(), 1);
        QVERIFY(rig->prompt.messages.first().startsWith("Could not save the settings file"));
        QVERIFY(!QFile::exists(rig->prompt.saveName));
    }

    void factoryResetByTheDevice()
    {
        port->device().setValue("dP", "5");
        QVERIFY(rig->connect());
        QVERIFY(rig->link->factory_command());
        port->clearWire();
        rig->commands->factory_reset();
        const QStringList sent = readCommands(port->sentMessages());
        QCOMPARE(sent.mid(0, 3), (QStringList{"WE", "SFD", "WP"}));
        QCOMPARE(sent.at(3), QStringLiteral("RPU"));
        QCOMPARE(sent.size(), 3 + 86);
        for (const QString &m : sent.mid(3))
            QVERIFY(m.startsWith('R'));
        QCOMPARE(rig->item("PlacesItem")->value_text(), QStringLiteral("3"));
        QCOMPARE(rig->colour, SyncColour::InStep);
    }

    void factoryResetByTheForm()
    {
        port->device().faults().noFactoryCommand = true;
        rig->type("PlacesItem", -1, "5");
        rig->choose("TTypeItem", "PWM");
        QVERIFY(rig->connect());
        QVERIFY(!rig->link->factory_command());
        port->clearWire();
        rig->commands->factory_reset();
        const QStringList sent = readCommands(port->sentMessages());
        QVERIFY(!sent.contains("SFD"));
        QCOMPARE(sent.mid(0, 2), (QStringList{"WE", "SPUINCHES"}));
        QCOMPARE(sent.size(), 2 + 85);
        QCOMPARE(rig->item("PlacesItem")->value_text(), QStringLiteral("3"));
        QCOMPARE(rig->item("SSIMaskItem")->value_text(), QStringLiteral("FFFFFFFF"));
        QCOMPARE(rig->item("TTypeItem")->value_text(), QStringLiteral("SSI Binary"));
        QCOMPARE(rig->item("AutoDetectItem")->value_text(), QStringLiteral("Off"));
        QCOMPARE(rig->colour, SyncColour::InStep);
        // The form and the device now agree with the device's own factory state.
        Qtx2Device factory;
        for (SetupItem *item : rig->track.item_list())
            if (item->get_serstring() != "CS")
                QCOMPARE(port->device().value(item->get_serstring()), factory.value(item->get_serstring()));
    }

    void factoryResetAfterDisconnectDoesNothing()
    {
        QVERIFY(rig->connect());
        rig->link->disconnect_qtx();
        const QStringList before = rig->values();
        port->clearWire();
        rig->commands->factory_reset();
        QVERIFY(port->sentMessages().isEmpty());
        QCOMPARE(rig->values(), before);
    }

    void resetUnitsShowsTheDeviceUnit()
    {
        rig->type("PresetItem", 0, "1");
        rig->units.set_current_units(2);
        rig->commands->reset_units();
        QCOMPARE(rig->item("PresetItem", 0)->value_text(), QStringLiteral("2.5400"));
        QCOMPARE(rig->item("PresetItem", 0)->findChild<QComboBox *>("UnitsCombo")->currentText(), QStringLiteral("CM"));
        QCOMPARE(rig->item("ScaleItem")->value_text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
