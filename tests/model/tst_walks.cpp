// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RecordingPrompt.h"
#include "ReferenceCatalogue.h"
#include "SimPort.h"

#include "link/BusyGuard.h"
#include "link/SerialForm.h"
#include "model/BackupStore.h"
#include "model/FloatSetting.h"
#include "model/ItemTrack.h"
#include "model/ListSetting.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"
#include "operations/DeviceReading.h"
#include "operations/SettingsComparison.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// The walks over all settings against the simulated QTX2, with no window: the traffic
// and its order, the progress texts, the busy flag, and settings files.
struct Walker
{
    explicit Walker(SimPort *port) : link(port, &prompt), set(&link), track(&set, &link)
    {
        link.setPauseFunction([](int) {});
        link.setTiming({200, 10000, 500, 5, 10, 0, 0});
        link.setBusyGuard(&guard);
        track.setBusyGuard(&guard);
    }
    bool connect() { return link.scanPorts() && link.open_qtx("COM1", "19200 bps", -1); }
    QStringList values() const
    {
        QStringList out;
        for (Setting *s : set.item_list())
            out << s->get_serstring() + "=" + s->valueText();
        return out;
    }
    Setting *at(const QString &code) const { return set.byCode(code); }

    RecordingPrompt prompt;
    BusyGuard guard;
    SerialForm link;
    SettingsSet set;
    ItemTrack track;
};

class TestWalks : public QObject
{
    Q_OBJECT

    Qtx2Device device{Reference::device()};
    std::unique_ptr<SimPort> port;
    std::unique_ptr<Walker> w;
    QTemporaryDir dir;

    QStringList sent() const
    {
        QStringList out;
        for (const QString &m : port->sentMessages())
            out << m.mid(2);
        return out;
    }

private slots:
    void init()
    {
        device = Qtx2Device(Reference::device());
        port = std::make_unique<SimPort>(&device);
        w = std::make_unique<Walker>(port.get());
    }
    void cleanup()
    {
        w.reset();
        port.reset();
    }

    // The units go first so lengths are read and written in the device's unit; then every
    // other setting once, in item-list order, with the progress of every entry.
    void walks_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::addColumn<QStringList>("head");
        QTest::addColumn<QStringList>("progress"); // after entries 1, 5, 43 and 86
        QTest::newRow("upload") << true << QStringList{"RPU"}
                                << QStringList{"Uploading...    1%", "Uploading...    6%", "Uploading...   50%",
                                               "Uploading...  100%"};
        QTest::newRow("download") << false << QStringList{"WE", "SPUINCHES"}
                                  << QStringList{"Downloading...   1%", "Downloading...   6%",
                                                 "Downloading...  50%", "Downloading... 100%"};
    }
    void walks()
    {
        QFETCH(bool, upload);
        QFETCH(QStringList, head);
        QFETCH(QStringList, progress);
        QVERIFY(w->connect());
        port->clearWire();
        QSignalSpy spy(&w->track, &ItemTrack::progress);
        upload ? w->track.upload_all() : w->track.download_all();
        const QStringList out = sent();
        QCOMPARE(out.mid(0, head.size()), head);
        QStringList codes;
        for (const Reference::Parameter &r : Reference::parameters())
            if (r.code != "PU")
                codes << (upload ? "R" : "S") + r.code;
        QCOMPARE(out.size() - head.size(), codes.size());
        for (int i = 0; i < codes.size(); ++i)
            QVERIFY2(out.at(head.size() + i).startsWith(codes.at(i)), qPrintable(out.at(head.size() + i)));
        QCOMPARE(spy.count(), 87);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(spy.at(QList<int>{0, 4, 42, 85}.at(i)).at(0).toString(), progress.at(i));
        QCOMPARE(spy.last().at(0).toString(), QString());
        QVERIFY(w->guard.isFree());
    }

    void lengthsFollowTheDeviceUnit()
    {
        port->device().setValue("PU", "MM");
        port->device().setValue("p1", "25.4");
        port->device().setValue("AR", "508");
        QVERIFY(w->connect());
        w->track.upload_all();
        QCOMPARE(w->set.units().current_units(), 3);
        QCOMPARE(w->at("PU")->valueText(), QStringLiteral("MM"));
        QCOMPARE(w->at("p1")->valueText(), QStringLiteral("1.0000"));
        QCOMPARE(w->at("AR")->valueText(), QStringLiteral("20.0000"));
        static_cast<FloatSetting *>(w->at("p1"))->editText("2");
        w->track.download_all();
        QCOMPARE(port->device().value("p1"), QStringLiteral("50.8"));
        QCOMPARE(port->device().value("AR"), QStringLiteral("508"));
    }

    // The busy flag: a walk started inside a walk does nothing; a link lost on the way
    // leaves the rest of the settings as they were and the timer running again.
    void walkInsideAWalkAndLostLink()
    {
        QVERIFY(w->connect());
        port->clearWire();
        const QString places = w->at("dP")->valueText();
        QObject::connect(&w->track, &ItemTrack::progress, [&](const QString &text) {
            if (text == "Uploading...    1%") {
                w->track.upload_all();
                w->track.download_all();
            } else if (text == "Uploading...   12%") {
                w->link.disconnect_qtx();
            }
        });
        w->track.upload_all();
        QCOMPARE(port->sentMessages().size(), 10); // the units and entries 1 to 9
        QCOMPARE(w->at("dP")->valueText(), places);
        QVERIFY(w->guard.isFree());
    }

    void fileRoundTrip()
    {
        // The user picks MM in the form; the device still works in inches.
        w->set.applyFactoryDefaults();
        static_cast<ListSetting *>(w->at("PU"))->set_value("MM");
        w->at("XT")->take("PWM");
        w->at("dP")->take("4");
        w->at("p8")->take("-12.5");
        w->at("Xe")->take("0000FFFF");
        w->at("CS")->take("80000001");
        w->at("PmA")->take("3.25");
        w->at("L4A")->take("OUTSIDE");
        const QStringList saved = w->values();
        const QString path = dir.filePath("settings.txt");
        QString error;
        QVERIFY(SettingsFile::write(path, w->track.fileLines(), &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine(), QByteArray("PUMM\r\n"));
        QCOMPARE(file.readAll().count("\r\n"), 85);

        SimPort otherPort;
        Walker fresh(&otherPort);
        QStringList lines;
        QCOMPARE(SettingsFile::read(path, &lines, &error), SettingsFile::ReadResult::Ok);
        fresh.track.fileReadLines(lines);
        QCOMPARE(fresh.values(), saved);
        // The file's unit was for its own lines: the device's is in force again.
        fresh.set.units().setCurrentUnits(2);
        fresh.track.fileReadLines(lines);
        QCOMPARE(fresh.set.units().current_units(), 2);
    }

    void fileLineEnds_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("lines");
        const QStringList three{"PUCM", "dP3", "dZYES"};
        QTest::newRow("CR LF") << QByteArray("PUCM\r\ndP3\r\ndZYES\r\n") << three;
        QTest::newRow("LF") << QByteArray("PUCM\ndP3\ndZYES\n") << three;
        QTest::newRow("lone CR, no final end") << QByteArray("PUCM\rdP3\rdZYES") << three;
        QTest::newRow("mixed") << QByteArray("PUCM\rdP3\ndZYES\r\n") << three;
        QTest::newRow("blank lines kept; LF CR is two ends") << QByteArray("a\r\n\r\nb\n\rc")
                                                            << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("8-bit bytes") << QByteArray("p1\xe9\xff\r\n") << QStringList{QString::fromLatin1("p1\xe9\xff")};
    }
    void fileLineEnds()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, lines);
        QCOMPARE(SettingsFile::splitLines(data), lines);
    }

    // A refused read hands back no stale lines.
    void refusedRead()
    {
        QStringList lines{"stale"};
        QString error;
        QCOMPARE(SettingsFile::read(dir.filePath("nope"), &lines, &error), SettingsFile::ReadResult::NotFound);
        QVERIFY(lines.isEmpty());
        QFile big(dir.filePath("big"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(SettingsFile::MaxSize + 1));
        big.close();
        lines = QStringList{"stale"};
        QCOMPARE(SettingsFile::read(big.fileName(), &lines, &error), SettingsFile::ReadResult::TooLarge);
        QVERIFY(lines.isEmpty() && !error.isEmpty());
    }

    // Backups list newest first in the order they were made, whatever the clock said; the
    // one just written is never pruned, and names of the earlier form count as older.
    void backupOrder()
    {
        QTemporaryDir dir;
        const BackupStore store(dir.path());
        QVERIFY(QFile(dir.filePath("2030-01-01 00-00-00 COM1 node 0 before download.txt")).open(QIODevice::WriteOnly));
        QString path, error;
        QDateTime when(QDate(2026, 12, 6), QTime(14, 3, 22));
        for (int i = 0; i < BackupStore::Kept; ++i, when = when.addSecs(-60)) // the clock goes back each time
            QVERIFY(store.write({"PUINCHES"}, "COM1 node 0", "before download", &path, &error, when));
        const QStringList all = store.backups();
        QCOMPARE(all.size(), BackupStore::Kept);
        QCOMPARE(all.first(), path);
        QCOMPARE(QFileInfo(all.at(1)).fileName(), QStringLiteral("2026-12-06 13-15-22 #49 COM1 node 0 before download.txt"));
        QVERIFY(all.filter("2030-").isEmpty());
    }

    // Each download lifts the write protection afresh, also when the device set it again
    // after the first.
    void eachDownloadLiftsProtection()
    {
        QVERIFY(w->connect());
        w->track.upload_all();
        for (int i = 0; i < 2; ++i) {
            port->device().setWriteProtected(true);
            port->clearWire();
            QVERIFY(w->track.download_all().complete());
            QCOMPARE(sent().mid(0, 2), QStringList({"WE", "SPUINCHES"}));
        }
    }

    // One rule for every comparison: the texts the device would hold. Device values are set
    // first ("PU=MM" before lengths), then the form is uploaded and changed: "AR9.99999" a
    // file line, "AR~9.99999" typed, "PO@0" shown in unit 0. The device then answers the
    // read back as the faults say ("RIA=ERR CMD", "RPU" no reply).
    void comparison_data()
    {
        QTest::addColumn<QStringList>("device");
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QStringList>("rows"); // "code: form | device", lengths not compared left out
        QTest::addColumn<int>("notCompared");  // lengths not compared for want of the unit
        const QStringList none;
        QTest::newRow("6th digit") << QStringList{"AR=10"} << QStringList{"AR~9.99999"} << none
                                   << QStringList{"AR: 9.99999 Inches | 10 Inches"} << 0;
        QTest::newRow("7th digit") << QStringList{"AR=10"} << QStringList{"AR10.00001"} << none
                                   << QStringList{"AR: 10.00001 Inches | 10 Inches"} << 0;
        QTest::newRow("typed as read") << QStringList{"AR=12.5"} << QStringList{"AR~12.5"} << none << none << 0;
        QTest::newRow("MM file") << QStringList{"PU=MM", "PO=950", "p3=0.3"} << QStringList{"PUMM", "PO950", "p3.3"}
                                 << none << none << 0;
        QTest::newRow("MM shown in inches") << QStringList{"PU=MM", "PO=950", "p3=0.3"} << QStringList{"PO@0", "p3@1"}
                                            << none << none << 0;
        QTest::newRow("MM 6th digit") << QStringList{"PU=MM", "PO=950"} << QStringList{"PO950.001"} << none
                                      << QStringList{"PO: 950.001 MM | 950 MM"} << 0;
        QTest::newRow("list by token") << none << QStringList{"XTSSIBIN"} << none
                                       << QStringList{"XT: SSIBIN | PWM"} << 0;
        QTest::newRow("hex by value") << QStringList{"Xe=FF"} << QStringList{"Xe000000FF"} << none << none << 0;
        QTest::newRow("refused and silent") << none << none << QStringList{"RIA=ERR CMD", "RIB"}
                                            << QStringList{"IA: 0 | refused: ERR CMD", "IB: 0 | (no reply)"} << 0;
        QTest::newRow("units not read") << QStringList{"PU=MM", "PO=950"} << QStringList{"XTSSIBIN"} << QStringList{"RPU"}
                                        << QStringList{"XT: SSIBIN | PWM", "PU: MM | (no reply)"} << 39;
    }
    void comparison()
    {
        QFETCH(QStringList, device);
        QFETCH(QStringList, form);
        QFETCH(QStringList, faults);
        QFETCH(QStringList, rows);
        QFETCH(int, notCompared);
        port->device().setValue("XT", "PWM");
        for (const QString &v : device)
            QVERIFY(port->device().setValue(v.section('=', 0, 0), v.section('=', 1)));
        QVERIFY(w->connect());
        w->set.refreshCurrentUnits();
        QVERIFY(w->track.upload_all().complete());
        for (const QString &change : form) {
            auto *f = qobject_cast<FloatSetting *>(w->at(change.section(QRegularExpression("[~@]"), 0, 0)));
            if (change.contains('~'))
                f->editText(change.section('~', 1));
            else if (change.contains('@'))
                f->selectUnit(change.section('@', 1).toInt());
            else
                w->track.fileReadLines({change});
        }
        for (const QString &fault : faults)
            port->device().faults().replies.insert(fault.section('=', 0, 0), fault.contains('=') ? fault.section('=', 1) : QString());
        w->link.setTiming({100, 10000, 500, 5, 10, 0, 0});
        DeviceReading read(&w->link, &w->guard);
        QVERIFY(read.read("Verifying... "));
        const SettingsComparison c = SettingsComparison::withDevice(w->set, read);
        QStringList got;
        int unknown = 0;
        for (const SettingsComparison::Row &r : c.rows()) {
            if (r.state == SettingsComparison::Row::State::UnitsUnknown)
                ++unknown;
            else
                got << r.mine->get_serstring() + ": " + r.mineText + " | " + r.otherText;
        }
        QCOMPARE(got, rows);
        QCOMPARE(unknown, notCompared);
        QCOMPARE(c.matches(), rows.isEmpty() && notCompared == 0);
    }
};

QTEST_GUILESS_MAIN(TestWalks)
#include "tst_walks.moc"
