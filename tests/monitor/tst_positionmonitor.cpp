// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AnsweringPort.h"
#include "WindowRig.h"
#include "model/PositionPoll.h"
#include "monitor/MagPosnDisp.h"
#include "monitor/PositionMonitor.h"
#include "monitor/PositionPanel.h"
#include "monitor/TrendPlot.h"
#include "monitor/TrendWindow.h"

#include <QTemporaryDir>
#include <QTimer>

namespace {

PositionReading reading(int position, const QString &reply)
{
    return PositionReading::fromReply(position, reply, true);
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
    // is silence, "!drop" closes the port during the wait; "!menu" clicks the magnet menu
    // entry and "!busy" fires the tick while another command waits, instead.
    void pollSequence_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("labels"); // DispPosnLabel after each tick
        QTest::addColumn<QString>("displays"); // the magnet displays, "!" red, a last "x*" filling the rest
        QTest::addColumn<QString>("trend"); // each series' samples, "~" a gap
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
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD " << "1|1|1|1|2" << "*" << "0=1,2 1=10.5 2=21 3=31.5" << 0;
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
        port.device = [&](const QString &c) -> QByteArray {
            if (c.mid(2) == QLatin1String("RMV"))
                return "*QTXv2 test\r";
            if (!LogPane::isPositionPoll(c))
                return "*0\r";
            if (reply == QLatin1String("!drop"))
                QTimer::singleShot(10, &link, [&] { link.disconnect_qtx(); });
            return reply == QLatin1String("~") || reply == QLatin1String("!drop") ? QByteArray() : "*" + reply.toLatin1() + "\r";
        };
        SerialForm::Timing t = link.timing();
        t.pollWait = 60; // time-outs in a test need not last half a second
        link.setTiming(t);
        PositionPanel panel;
        QAction menu;
        menu.setCheckable(true);
        PositionMonitor monitor(&link, panel.dispPosnLabel(), panel.displays(), &menu);
        connect(&menu, &QAction::triggered, &monitor, &PositionMonitor::menuClicked);
        monitor.start_displays();
        TrendBuffer buffer;
        connect(monitor.poll(), &PositionPoll::read, [&](const PositionReading &r) { buffer.add(0, r); });
        QVERIFY(link.scan_ports() && link.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), qint16(node)));
        port.sent.clear();
        // The window's timer keeps firing while a reply is awaited; those ticks are dropped.
        QTimer timer;
        connect(&timer, &QTimer::timeout, monitor.poll(), &PositionPoll::tick);
        timer.start(5);

        QStringList labels, shown, series;
        for (const QString &entry : std::as_const(script)) {
            reply = entry;
            if (entry == QLatin1String("!menu"))
                menu.trigger();
            else if (entry == QLatin1String("!busy")) {
                // Only the one tick: the link is free again in the turn its reply comes in.
                timer.stop();
                QTimer::singleShot(5, &link, [&] { monitor.poll()->tick(); });
                link.sendrcv_nodeid(QStringLiteral("RXM"), false);
                timer.start();
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
                samples << (buffer.sample(s, i).gap ? QStringLiteral("~") : QString::number(buffer.sample(s, i).value));
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

    // Rows by time, the time in seconds to the millisecond, a value only where one was
    // read; at most ten minutes a series, and never more than the ring holds.
    void trendCsvAndBounds()
    {
        TrendBuffer buffer;
        const QList<QPair<qint64, PositionReading>> readings{
            {250, reading(0, "12.5")}, {500, reading(1, "-0.25")}, {750, reading(1, "0NOMAG")},
            {1000, reading(0, "No Magnet")}, {61005, reading(15, "3")}, {61005, reading(0, "1e99")}};
        for (const auto &[ms, r] : readings)
            buffer.add(ms, r);
        QStringList header{"Time (s)", "Displayed (MM)"};
        for (int k = 1; k <= 15; ++k)
            header << QStringLiteral("Magnet %1 (MM)").arg(k);
        QCOMPARE(buffer.csvLines(QStringLiteral("MM")),
                 (QStringList{header.join(','), "0.250,12.5,,,,,,,,,,,,,,,", "0.500,,-0.25,,,,,,,,,,,,,,",
                              "0.750,,,,,,,,,,,,,,,,", "1.000,,,,,,,,,,,,,,,,", "61.005,,,,,,,,,,,,,,,,3"}));

        TrendBuffer full; // the displayed position every 200 ms, magnet 15 every 4 s, for 11 minutes
        for (qint64 ms = 0; ms <= 660000; ms += 200)
            full.add(ms, reading(ms % 4000 ? 0 : 15, "1"));
        QCOMPARE(full.count(0), TrendBuffer::Capacity);
        QCOMPARE(full.sample(0, TrendBuffer::Capacity - 1).ms, 659800);
        QCOMPARE(full.count(15), 151);
        QCOMPARE(full.sample(15, 0).ms, 60000);
    }

    // Tools > Position Trend over the simulated device: it takes the readings the poll
    // makes anyway, plots gaps as breaks, pauses, exports and keeps its size; File > Save
    // Log writes the log.
    void windowEntries()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.port.device().setValue(QStringLiteral("Xm"), QStringLiteral("1")); // displays magnet 1, which is there
        rig.clickConnect();
        QCOMPARE(rig.find<QWidget>("MagPosn(14)")->findChild<QLabel *>("maglabel")->text(), QStringLiteral("Magnet 15:"));
        QVERIFY(rig.find<PositionPanel>("PositionPanel")->sizeHint().height() <= 130); // three columns of five
        rig.find<QTimer>(QStringLiteral("PositionTimer"))->stop();
        rig.trigger(QStringLiteral("TrendMenu"));
        auto *trend = rig.find<TrendWindow>(QStringLiteral("TrendForm"));
        QVERIFY(trend && trend->isVisible() && !trend->isModal() && trend->windowTitle() == "Position Trend");
        rig.port.clearWire();
        for (int i = 0; i < 3; ++i)
            rig.find<PositionMonitor>(QString())->poll()->tick();
        QCOMPARE(rig.port.sentMessages(), QStringList(3, QStringLiteral("$0RD")));
        QCOMPARE(trend->buffer().count(0), 3);

        qint64 now = 1000;
        trend->setClock([&now] { return now; });
        for (const char *r : {"1", "2", "0NOXDCR", "3", "4", "No Magnet", "5"})
            trend->take(reading(1, r)), now += 250;
        trend->redraw();
        QCOMPARE(trend->plot()->chart()->axes(Qt::Vertical).first()->titleText(), QStringLiteral("Position (Inches)"));
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
        trend->take(reading(1, "6"));
        trend->redraw();
        QCOMPARE(drawn(), QStringLiteral("2 lines, 1 dots"));
        QTest::keyClick(pause, Qt::Key_Return);
        QCOMPARE(drawn(), QStringLiteral("3 lines, 0 dots"));

        rig.prompt.saveName = dir.filePath(QStringLiteral("trend.csv"));
        QTest::mouseClick(trend->findChild<QPushButton *>(QStringLiteral("TrendExportButton")), Qt::LeftButton);
        QCOMPARE(fileBytes(rig.prompt.saveName), (trend->buffer().csvLines("Inches").join("\r\n") + "\r\n").toLatin1());
        rig.prompt.saveName = dir.path(); // a folder: the export fails and says so
        trend->export_csv();
        QCOMPARE(rig.prompt.messages, QStringList{"Could not export the position trend to " + dir.path() + "."});
        // Escape closes it; the next one opens at the same size.
        trend->resize(500, 300);
        QTest::keyClick(trend, Qt::Key_Escape);
        QVERIFY(!trend->isVisible());
        QCOMPARE(TrendWindow(&rig.prompt, {}).size(), QSize(500, 300));

        rig.prompt.saveName = dir.filePath(QStringLiteral("log.txt"));
        rig.trigger(QStringLiteral("SaveLogMenu"));
        QVERIFY(rig.window->logPane()->text().contains(QStringLiteral("$0RMV -> QTXv2.05\r\n")));
        QVERIFY(fileBytes(rig.prompt.saveName).endsWith(rig.window->logPane()->text().toLatin1()));
    }
};

QTEST_MAIN(tst_PositionMonitor)
#include "tst_positionmonitor.moc"
