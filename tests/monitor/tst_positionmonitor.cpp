// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AnsweringPort.h"
#include "WindowRig.h"
#include "link/BusyGuard.h"
#include "model/ListSetting.h"
#include "model/PositionPoll.h"
#include "monitor/MagPosnDisp.h"
#include "monitor/PositionMonitor.h"
#include "monitor/PositionPanel.h"
#include "monitor/TrendPlot.h"
#include "monitor/TrendRecorder.h"
#include "monitor/TrendWindow.h"

#include <QTemporaryDir>
#include <QTimer>

namespace {

PositionReading reading(int position, const QString &reply, int unit = -1)
{
    PositionReading r = PositionReading::fromReply(position, reply, true);
    r.unit = unit;
    return r;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

} // namespace

class tst_PositionMonitor : public QObject
{
    Q_OBJECT

private slots:
    // Each entry of the script is one tick and the device's reply to what it sends: "~"
    // is silence, "!drop" closes the port during the wait, "^" stops the timer during the
    // wait (as a walk does); "!menu" clicks the magnet menu entry, "!busy" fires the tick
    // while another command waits, "!walk" stops and starts the timer, "!want" wants the
    // unit, "!reconnect" connects anew and "!S..." sends a write, instead.
    void pollSequence_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("labels"); // DispPosnLabel after each tick
        QTest::addColumn<QString>("displays"); // the magnet displays, "!" red, a last "x*" filling the rest
        QTest::addColumn<QString>("trend"); // each series' samples, "~" a gap, "@" the unit
        QTest::addColumn<int>("pollAfter");
        QTest::newRow("displayed only, as received") << 0 << QStringList{"12.345", "0NOMAG", "0NOXDCR", "0nomag", "~", "7.5"}
            << QString("$0RD ").repeated(6) << "12.345|[----]|ERR 01|0nomag|No Magnet|7.5" << " *" << "0=12.345,~,0,~,7.5" << 0;
        QTest::newRow("two magnets, then none") << 0 << QStringList{"!menu", "1.5", "10.5", "21", "0NOMAG", "2.5", "0NOMAG"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD $0Rd1 " << "1.5|1.5|1.5|1.5|2.5|2.5" << "[----]!*"
            << "0=1.5,2.5 1=10.5,~ 2=21,~" << 0;
        QTest::newRow("transducer lost at magnet 3") << 0 << QStringList{"!menu", "1", "10.5", "21", "0NOXDCR"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 " << "1|1|1|1" << "10.50000,21.00000,ERR 01!*" << "0=1 1=10.5 2=21" << 0;
        QTest::newRow("no transducer") << 0 << QStringList{"!menu", "0NOXDCR", "0NOXDCR", "5"} << "$0RD $0Rd1 $0RD "
            << "ERR 01|ERR 01|5" << "ERR 01!*" << "0=5" << 1;
        QTest::newRow("magnet time-out") << 0 << QStringList{"!menu", "5", "10.5", "20", "0NOMAG", "6", "~", "21", "0NOMAG"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD $0Rd1 $0Rd2 $0Rd3 " << "5|5|5|5|6|6|6|6" << "0.00000,21.00000,[----]!*"
            << "0=5,6 1=10.5,~ 2=20,21" << 0;
        QTest::newRow("no position in the reply") << 0 << QStringList{"!menu", "abc", "abc", "1e99", "0NOMAG"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 " << "abc|abc|abc|abc" << "0.00000,1e99!,[----]!*" << "" << 0;
        QTest::newRow("unchecked mid-cycle") << 0 << QStringList{"!menu", "1", "10.5", "21", "!menu", "31.5", "2"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD " << "1|1|1|1|2" << "*" << "0=1,2 1=10.5,~ 2=21,~ 3=31.5,~" << 0;
        QTest::newRow("walks between reads and during one") << 0
            << QStringList{"!menu", "1", "10.5", "!walk", "21", "0NOMAG", "2", "^10.6", "0NOMAG"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD $0Rd1 $0Rd2 " << "1|1|1|1|2|2|2" << "10.60000,[----]!*"
            << "0=1,~,2,~ 1=10.5,~,10.6,~ 2=21,~" << 0;
        QTest::newRow("unit read, written, read anew") << 0
            << QStringList{"1", "!want", "MM", "2", "!SPUINCHES", "3", "!reconnect", "INCHES", "4"}
            << "$0RD $0RPU $0RD $0SPUINCHES $0RD $0RMV $0RFD $0RPU $0RD " << "1|1|2|3|3|4" << " *"
            << "0=1@MM,2@MM,~,3@Inches,~,4@Inches" << 0;
        QTest::newRow("port closed in a magnet wait") << 0 << QStringList{"!menu", "1", "10.5", "0NOMAG", "3", "!drop", "x", "x"}
            << "$0RD $0Rd1 $0Rd2 $0RD $0Rd1 " << "1|1|1|3|3||" << "10.50000,[----]!*" << "0=1,3,~ 1=10.5,~" << 4;
        QTest::newRow("another command waits") << 0 << QStringList{"!menu", "1", "!busy", "10.5"} << "$0RD $0RXM $0Rd1 "
            << "1|1" << "10.50000, *" << "0=1 1=10.5" << 2;
        QStringList script{"!menu", "0"}, displays, trend{"0=0,0"};
        QString sent = "$3RD ";
        for (int k = 1; k <= 15; ++k) {
            script << QString::number(k);
            sent += QStringLiteral("$3Rd%1 ").arg(k, 0, 16);
            displays << QStringLiteral("%1.00000").arg(k);
            trend << QStringLiteral("%1=%1").arg(k) + (k == 1 ? ",1" : "");
        }
        QTest::newRow("fifteen magnets at node 3") << 3 << (script << "0" << "1") << sent + "$3RD $3Rd1 "
            << QStringList(18, "0").join('|') << displays.join(',') << trend.join(' ') << 2;
    }
    void pollSequence()
    {
        QFETCH(int, node);
        QFETCH(QStringList, script);
        QString reply;
        AnsweringPort port;
        RecordingPrompt prompt;
        SerialForm link(&port, &prompt);
        port.replyDelayMs = 20;
        QTimer timer;
        port.device = [&](const QString &c) -> QByteArray {
            if (c.mid(2) == QLatin1String("RMV"))
                return "*QTXv2 test\r";
            if (c.at(2) == QLatin1Char('S'))
                return "*\r";
            if (!LogPane::isPositionPoll(c) && c.mid(2) != QLatin1String("RPU"))
                return "*0\r";
            if (reply == QLatin1String("!drop"))
                QTimer::singleShot(10, &link, [&] { link.disconnect_qtx(); });
            if (reply.startsWith(QLatin1Char('^')))
                QTimer::singleShot(10, &timer, &QTimer::stop);
            return reply == QLatin1String("~") || reply == QLatin1String("!drop") ? QByteArray()
                                                                                  : "*" + reply.toLatin1().replace('^', "") + "\r";
        };
        SerialForm::Timing t = link.timing();
        t.pollWait = 60; // time-outs in a test need not last half a second
        link.setTiming(t);
        PositionPanel panel;
        QAction menu;
        menu.setCheckable(true);
        PositionMonitor monitor(&link, panel.dispPosnLabel(), panel.displays(), &menu);
        connect(&menu, &QAction::triggered, &monitor, &PositionMonitor::menuClicked);
        monitor.startDisplays();
        TrendRecorder recorder(monitor.poll());
        qint64 now = 0;
        recorder.setClock([&now] { return now; }, 0);
        const TrendBuffer &buffer = recorder.buffer();
        // The window's timer keeps firing while a reply is awaited; those ticks are dropped.
        monitor.poll()->setTimer(&timer);
        BusyGuard guard; // the window's: the poll runs while the line is free
        QObject::connect(&guard, &BusyGuard::freeChanged, &timer, [&timer](bool free) { free ? timer.start() : timer.stop(); });
        link.setBusyGuard(&guard);
        timer.setInterval(5);
        const auto connectLink = [&] { return link.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), qint16(node)); };
        QVERIFY(link.scanPorts() && connectLink());
        port.sent.clear();

        QStringList labels, shown, series;
        for (const QString &entry : std::as_const(script)) {
            reply = entry;
            now += 250;
            if (entry == QLatin1String("!menu"))
                menu.trigger();
            else if (entry == QLatin1String("!want"))
                monitor.poll()->wantUnits();
            else if (entry.startsWith(QLatin1String("!S"))) {
                const QSignalBlocker quiet(&timer);
                link.sendrcv_nodeid(entry.mid(1), false);
            }
            else if (entry == QLatin1String("!reconnect")) {
                link.disconnect_qtx();
                QVERIFY(connectLink());
            } else if (entry == QLatin1String("!walk") || entry.startsWith(QLatin1Char('^'))) {
                if (entry.startsWith(QLatin1Char('^')))
                    monitor.poll()->tick();
                timer.stop();
                QCoreApplication::processEvents();
                timer.start();
            }
            else if (entry == QLatin1String("!busy")) {
                // Only the one tick: the link is free again in the turn its reply comes in.
                const QSignalBlocker quiet(&timer);
                QTimer::singleShot(5, &link, [&] { monitor.poll()->tick(); });
                link.sendrcv_nodeid(QStringLiteral("RXM"), false);
            } else
                monitor.poll()->tick();
            if (!entry.startsWith(QLatin1Char('!')) || entry == QLatin1String("!drop"))
                labels << panel.dispPosnLabel()->text();
        }
        for (MagPosnDisp *disp : panel.displays()) {
            const QColor colour = disp->findChild<QLabel *>(QStringLiteral("posnlabel"))->palette().color(QPalette::WindowText);
            shown << disp->text() + (colour == QColor(255, 0, 0) ? "!" : "");
        }
        for (int s = 0; s < TrendBuffer::SeriesCount; ++s) {
            QStringList samples;
            for (int i = 0; i < buffer.count(s); ++i)
                samples << (buffer.sample(s, i).gap ? QStringLiteral("~") : QString::number(buffer.sample(s, i).value))
                        + (buffer.sample(s, i).gap || buffer.sample(s, i).unit < 0 ? "" : "@" + LengthUnits::selectorTexts().at(buffer.sample(s, i).unit));
            if (!samples.isEmpty())
                series << QStringLiteral("%1=%2").arg(s).arg(samples.join(','));
        }
        QFETCH(QString, displays);
        QStringList wanted = displays.split(',');
        const QString fill = wanted.last().endsWith('*') ? wanted.takeLast().chopped(1) : QString();
        while (wanted.size() < 15)
            wanted << fill;
        QTEST(port.sent.join(' ') + ' ', "sent");
        QTEST(labels.join('|'), "labels");
        QCOMPARE(shown, wanted);
        QTEST(series.join(' '), "trend");
        QTEST(monitor.poll()->magnet_poll(), "pollAfter");
    }

    // Events "ms position reply [unit]" and "ms stop [first]"; the CSV rows without the
    // local time and the empty cells at the end: each series holds its value until its
    // line breaks, in the newest sample's unit.
    void trendCsv_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("header"); // its second and third columns
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("reads without a position") << QStringList{"250 0 12.5", "500 1 -0.25", "750 1 0NOMAG", "1000 0 No Magnet", "1250 0 13"}
            << "Local time,Displayed" << QStringList{"0.250,12.5", "0.500,12.5,-0.25", "0.750,12.5", "1.000", "1.250,13"};
        QTest::newRow("reads stopped") << QStringList{"250 0 1", "500 1 2", "600 stop", "700 0 3", "800 1 4", "900 stop 1", "1000 0 5"}
            << "Local time,Displayed" << QStringList{"0.250,1", "0.500,1,2", "0.600", "0.700,3", "0.800,3,4", "0.900,3", "1.000,5"};
        QTest::newRow("reads further apart than the poll allows") << QStringList{"250 0 1", "2250 0 2", "4251 0 3"}
            << "Local time,Displayed" << QStringList{"0.250,1", "2.250,2", "2.251", "4.251,3"};
        QTest::newRow("history in the newest unit") << QStringList{"250 0 25.4 MM", "500 1 5.08 CM", "750 0 2 Inches"}
            << "Local time,Displayed (Inches)" << QStringList{"0.250,1", "0.251", "0.500,,2", "0.750,2,2"};
        QTest::newRow("newest unit not known") << QStringList{"250 0 1 MM", "500 stop", "750 0 2"}
            << "Local time,Displayed" << QStringList{"0.250", "0.500", "0.750,2"};
    }
    void trendCsv()
    {
        QFETCH(QStringList, events);
        qputenv("TZ", "XYZ-5:30"); // local time is 5:30 ahead of UTC
        TrendBuffer buffer;
        buffer.setEpoch(1772629387000); // 2026-03-04 13:03:07 UTC
        for (const QString &event : std::as_const(events)) {
            const QStringList e = event.split(' ');
            if (e[1] == "stop")
                buffer.stop(e[0].toLongLong(), e.value(2, "0").toInt());
            else
                buffer.add(e[0].toLongLong(), reading(e[1].toInt(), e[2] == "No" ? "No Magnet" : e[2],
                                                      int(LengthUnits::selectorTexts().indexOf(e.value(3)))));
        }
        QStringList lines = buffer.csvLines();
        QTEST(lines.takeFirst().section(',', 1, 2), "header");
        QCOMPARE(lines.first().section(',', 1, 1), QStringLiteral("2026-03-04T18:33:07.250+05:30"));
        for (QString &line : lines)
            line = QString(line.section(',', 0, 0) + ',' + line.section(',', 2)).remove(QRegularExpression(",+$"));
        QTEST(lines, "rows");
    }

    // At most ten minutes a series, and never more than the ring holds.
    void trendBounds()
    {
        TrendBuffer full; // the displayed position every 200 ms, magnet 15 every 4 s, for 11 minutes
        for (qint64 ms = 0; ms <= 660000; ms += 200)
            full.add(ms, reading(ms % 4000 ? 0 : 15, "1"));
        QCOMPARE(full.count(0), TrendBuffer::Capacity);
        QCOMPARE(full.sample(0, TrendBuffer::Capacity - 1).ms, 659800);
        QCOMPARE(full.count(15), 151);
        QCOMPARE(full.sample(15, 0).ms, 60000);
    }

    // Tools > Position Trend over the simulated device (in millimetres): it takes the
    // readings the poll makes anyway, from the connection on, in the device's unit; plots
    // gaps as breaks, pauses, exports and keeps its size; File > Save Log writes the log.
    void windowEntries()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.port.device().setValue(QStringLiteral("Xm"), QStringLiteral("1")); // displays magnet 1, which is there
        rig.port.device().setValue(QStringLiteral("PU"), QStringLiteral("MM"));
        rig.clickConnect();
        QCOMPARE(rig.find<QWidget>("MagPosn(14)")->findChild<QLabel *>("maglabel")->text(), QStringLiteral("Magnet 15:"));
        QVERIFY(rig.find<PositionPanel>("PositionPanel")->sizeHint().height() <= 130); // three columns of five
        // The trend records from the connection on, its window opened or not.
        auto *timer = rig.find<QTimer>(QStringLiteral("PositionTimer"));
        PositionPoll *poll = rig.find<PositionMonitor>(QString())->poll();
        timer->stop();
        rig.port.clearWire();
        poll->tick();
        poll->tick();
        rig.trigger(QStringLiteral("TrendMenu"));
        auto *trend = rig.find<TrendWindow>(QStringLiteral("TrendForm"));
        QVERIFY(trend && trend->isVisible() && !trend->isModal() && trend->windowTitle() == "Position Trend");
        QCOMPARE(trend->buffer().count(0), 2);
        // Opened, it has the device's unit read (the samples so far were in it); a walk
        // breaks every line; a download of another unit shows the history in that one.
        poll->tick();
        poll->tick();
        QCOMPARE(rig.port.sentMessages(), (QStringList{"$0RD", "$0RD", "$0RPU", "$0RD"}));
        const auto title = [trend] {
            trend->redraw();
            return trend->plot()->chart()->axes(Qt::Vertical).first()->titleText();
        };
        QCOMPARE(title(), QStringLiteral("Position (MM)"));
        for (const QString walk : {"UploadMenu", "DownloadMenu"}) {
            if (walk == "DownloadMenu")
                rig.window->settings()->unitsItem()->choose(0);
            timer->start();
            rig.trigger(walk);
            timer->stop();
            poll->tick();
        }
        QCOMPARE(trend->buffer().runs(0, 0, trend->recorder()->now()).size(), 3);
        QCOMPARE(title(), QStringLiteral("Position (Inches)"));
        QCOMPARE(trend->buffer().runs(0, 0, trend->recorder()->now()).first().first().y(), trend->buffer().sample(0, 0).value / 25.4);

        qint64 now = trend->recorder()->now() + 1000;
        trend->recorder()->setClock([&now] { return now; }, 0);
        for (const char *r : {"1", "2", "0NOXDCR", "3", "4", "No Magnet", "5"})
            trend->recorder()->take(reading(1, r, 0)), now += 250;
        trend->redraw();
        auto drawn = [trend] { return QStringLiteral("%1 lines, %2 dots").arg(trend->plot()->lineCount(1)).arg(trend->plot()->dotCount(1)); };
        QCOMPARE(drawn(), QStringLiteral("2 lines, 1 dots"));
        auto *span = trend->findChild<QComboBox *>(QStringLiteral("TrendSpanCombo"));
        QVERIFY(span->count() == 6 && span->itemText(0) == "10 s" && span->itemText(5) == "10 min");
        QCOMPARE(trend->spanMs(), 60000);
        // Paused (Enter on the focused button), the plot stays while readings go on.
        auto *pause = trend->findChild<QPushButton *>(QStringLiteral("TrendPauseButton"));
        pause->setFocus();
        QTest::keyClick(pause, Qt::Key_Return);
        now += 250;
        trend->recorder()->take(reading(1, "6", 0));
        trend->redraw();
        QCOMPARE(drawn(), QStringLiteral("2 lines, 1 dots"));
        QTest::keyClick(pause, Qt::Key_Return);
        QCOMPARE(drawn(), QStringLiteral("3 lines, 0 dots"));

        rig.prompt.saveName = dir.filePath(QStringLiteral("trend.csv"));
        QTest::mouseClick(trend->findChild<QPushButton *>(QStringLiteral("TrendExportButton")), Qt::LeftButton);
        QCOMPARE(fileBytes(rig.prompt.saveName), (trend->buffer().csvLines().join("\r\n") + "\r\n").toLatin1());
        rig.prompt.saveName = dir.path(); // a folder: the export fails and says so
        trend->exportCsv();
        QCOMPARE(rig.prompt.messages, QStringList{"Could not export the position trend to " + dir.path() + "."});
        // Escape closes it; the next one opens at the same size.
        trend->resize(500, 300);
        QTest::keyClick(trend, Qt::Key_Escape);
        QVERIFY(!trend->isVisible());
        QCOMPARE(TrendWindow(&rig.prompt, nullptr).size(), QSize(500, 300));

        rig.prompt.saveName = dir.filePath(QStringLiteral("log.txt"));
        rig.trigger(QStringLiteral("SaveLogMenu"));
        QVERIFY(rig.window->logPane()->text().contains(QStringLiteral("$0RMV -> QTXv2.05\r\n")));
        QVERIFY(fileBytes(rig.prompt.saveName).endsWith(rig.window->logPane()->text().toLatin1()));
    }
};

QTEST_MAIN(tst_PositionMonitor)
#include "tst_positionmonitor.moc"
