#include "RecordingPrompt.h"
#include "SimPort.h"
#include "model/FactoryDefaults.h"
#include "model/ParameterTable.h"
#include "catalogue/SetupForm.h"
#include "model/LengthUnits.h"
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

    // The units go first so lengths are read and written in the device's unit; then every
    // other item once, in item_list order.
    void walksTakeUnitsFirstThenEveryItemOnce_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::addColumn<QStringList>("head");
        QTest::addColumn<QStringList>("progress"); // after items 1, 5, 43 and 86
        QTest::newRow("upload") << true << QStringList{"RPU"}
                                << QStringList{"Uploading...    1%", "Uploading...    6%", "Uploading...   50%",
                                               "Uploading...  100%"};
        QTest::newRow("download") << false << QStringList{"WE", "SPUINCHES"}
                                  << QStringList{"Downloading...   1%", "Downloading...   6%",
                                                 "Downloading...  50%", "Downloading... 100%"};
    }
    void walksTakeUnitsFirstThenEveryItemOnce()
    {
        QFETCH(bool, upload);
        QFETCH(QStringList, head);
        QFETCH(QStringList, progress);
        QVERIFY(rig->connect());
        port->clearWire();
        QSignalSpy spy(rig->commands.get(), &TransferCommands::progress);
        upload ? rig->commands->upload() : rig->commands->download();
        const QStringList sent = readCommands(port->sentMessages());
        QCOMPARE(sent.mid(0, head.size()), head);
        const QStringList codes = codesInListOrder(upload ? "R" : "S");
        QCOMPARE(sent.size() - head.size(), codes.size());
        for (int i = 0; i < codes.size(); ++i)
            QVERIFY2(sent.at(head.size() + i).startsWith(codes.at(i)), qPrintable(sent.at(head.size() + i)));
        if (upload)
            QCOMPARE(sent.mid(1), codes);
        else // typed text is not limited: the form's initial 0 goes out although Decimal Places starts at 1
            QVERIFY(sent.contains("SdP0"));
        QCOMPARE(spy.count(), 87);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(spy.at(QList<int>{0, 4, 42, 85}.at(i)).at(0).toString(), progress.at(i));
        QCOMPARE(spy.last().at(0).toString(), QString());
        QVERIFY(rig->timer.isActive());
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

    // Every item with a value of its own is tried in tests/faults; here the device's unit
    // (MM) leads the file and lengths come back in a form that still shows inches.
    void saveThenLoadRestoresEveryItem()
    {
        rig->commands->factory_reset(); // every item holds a value of its own kind
        rig->choose("UnitsItem", "MM");
        rig->units.set_current_units(3);
        rig->choose("TTypeItem", "PWM");
        rig->type("PlacesItem", -1, "4");
        rig->type("PresetItem", 7, "-12.5000");
        rig->type("SSIMaskItem", -1, "0000FFFF");
        rig->type("CanSerialItem", -1, "80000001"); // its factory text "0" would come back padded
        rig->type("MagOffItem", 9, "3.2500");
        rig->choose("LimitActItem", "OUTSIDE", 3);
        const QStringList saved = rig->values();
        rig->prompt.saveName = dir.filePath("settings.txt");
        rig->commands->save_file();
        QVERIFY(rig->prompt.messages.isEmpty());

        QFile file(rig->prompt.saveName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine(), QByteArray("PUMM\r\n"));
        file.close();
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
        const QStringList before = rig->values();
        rig->commands->open_file(); // no name chosen: nothing changes, nothing is said
        QCOMPARE(rig->values(), before);
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
        QVERIFY(rig->prompt.messages.isEmpty());
    }

    // A device that knows "FD" resets itself and is read back; one that does not is written
    // the form's own factory values. Either way both end in the device's factory state.
    void factoryReset_data()
    {
        QTest::addColumn<bool>("byDevice");
        QTest::addColumn<QStringList>("head");
        QTest::newRow("by the device") << true << QStringList{"WE", "SFD", "WP", "RPU"};
        QTest::newRow("by the form") << false << QStringList{"WE", "SPUINCHES"};
    }
    void factoryReset()
    {
        QFETCH(bool, byDevice);
        QFETCH(QStringList, head);
        port->device().faults().noFactoryCommand = !byDevice;
        port->device().setValue("dP", "5");
        rig->type("PlacesItem", -1, "5");
        rig->choose("TTypeItem", "PWM");
        QVERIFY(rig->connect());
        QCOMPARE(rig->link->factory_command(), byDevice);
        port->clearWire();
        rig->commands->factory_reset();
        const QStringList sent = readCommands(port->sentMessages());
        QCOMPARE(sent.mid(0, head.size()), head);
        QCOMPARE(sent.size(), head.size() + 85);
        for (const QString &m : sent.mid(head.size()))
            QVERIFY2(m.startsWith(byDevice ? 'R' : 'S'), qPrintable(m));
        QCOMPARE(rig->item("PlacesItem")->value_text(), QStringLiteral("3"));
        QCOMPARE(rig->colour, SyncColour::InStep);
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
