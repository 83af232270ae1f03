#include "AnsweringPort.h"
#include "RecordingPrompt.h"
#include "SimPort.h"
#include "link/SerialForm.h"
#include "model/PositionPoll.h"
#include "monitor/MagPosnDisp.h"
#include "monitor/PositionMonitor.h"
#include "monitor/PositionPanel.h"
#include "monitor/TrendPlot.h"
#include "monitor/TrendWindow.h"
#include "shell/DesktopOpener.h"
#include "shell/LogPane.h"
#include "shell/QTX2SetlinkForm.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QValueAxis>
#include <QtTest>

namespace {

struct NoOpener : DesktopOpener
{
    void openUrl(const QUrl &) override {}
};

// The samples of each series that has any: "0=12.5,~,7.5 1=10.5", a gap as "~".
QString trendText(const TrendBuffer &buffer)
{
    QStringList series;
    for (int s = 0; s < TrendBuffer::SeriesCount; ++s) {
        QStringList samples;
        for (int i = 0; i < buffer.count(s); ++i)
            samples << (buffer.sample(s, i).gap ? QStringLiteral("~") : QString::number(buffer.sample(s, i).value));
        if (!samples.isEmpty())
            series << QStringLiteral("%1=%2").arg(s).arg(samples.join(QLatin1Char(',')));
    }
    return series.join(QLatin1Char(' '));
}

// The 15 magnet displays as "10.50000,[----]!*": "!" marks red, a last entry ending in "*"
// fills the rest, and missing entries are the blank the displays start with.
QString expand(const QString &spec)
{
    QStringList parts = spec.split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QString fill = !parts.isEmpty() && parts.last().endsWith(QLatin1Char('*')) ? parts.takeLast().chopped(1) : QStringLiteral(" ");
    while (parts.size() < 15)
        parts << fill;
    return parts.join(QLatin1Char(','));
}

PositionReading reading(int position, const QString &reply)
{
    return PositionReading::fromReply(position, reply, true);
}

} // namespace

class tst_PositionMonitor : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        port = new AnsweringPort;
        // The reply of the tick under way: "~" is silence, "!drop" closes the port meanwhile.
        port->device = [this](const QString &c) -> QByteArray {
            const QString body = c.mid(2);
            if (body == QLatin1String("RMV"))
                return "*QTXv2 test\r";
            if (!body.startsWith(QLatin1String("Rd")) && body != QLatin1String("RD"))
                return "*0\r";
            if (reply == QLatin1String("!drop"))
                QTimer::singleShot(10, link, [this] { link->disconnect_qtx(); });
            return reply == QLatin1String("~") || reply == QLatin1String("!drop") ? QByteArray() : "*" + reply.toLatin1() + "\r";
        };
        link = new SerialForm(port, &prompt);
        SerialForm::Timing t = link->timing();
        t.pollWait = 60; // time-outs in a test need not last half a second
        link->setTiming(t);
        QVERIFY(link->scan_ports());
        panel = new PositionPanel;
        menu = new QAction(QStringLiteral("Update Individual Magnet &Positions"));
        menu->setCheckable(true);
        monitor = new PositionMonitor(link, panel->dispPosnLabel(), panel->displays(), menu);
        QObject::connect(menu, &QAction::triggered, monitor, &PositionMonitor::menuClicked);
        monitor->start_displays();
    }
    void cleanup()
    {
        delete monitor;
        delete menu;
        delete panel;
        delete link;
        delete port;
    }

    // Each entry of the script is one tick and the device's reply to what it sends
    // ("!menu" clicks the magnet menu entry instead).
    void pollSequence_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<bool>("magnets");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("labels"); // DispPosnLabel after each tick
        QTest::addColumn<QString>("displays");
        QTest::addColumn<QString>("trend");
        QTest::addColumn<int>("pollAfter");
        QTest::newRow("displayed only, as received") << 0 << false
            << QStringList{"12.345", "0NOMAG", "0NOXDCR", "0nomag", "~", "7.5"} << QString("$0RD ").repeated(6)
            << "12.345|[----]|ERR 01|0nomag|No Magnet|7.5" << "" << "0=12.345,~,0,~,7.5" << 0;
        QTest::newRow("two magnets, then one") << 0 << true
            << QStringList{"1.5", "10.5", "21", "0NOMAG", "2.5", "10.75", "0NOMAG"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD $0Rd1 $0Rd2 " << "1.5|1.5|1.5|1.5|2.5|2.5|2.5" << "10.75000,[----]!*"
            << "0=1.5,2.5 1=10.5,10.75 2=21,~" << 0;
        QTest::newRow("transducer lost at magnet 3") << 0 << true << QStringList{"1", "10.5", "21", "0NOXDCR"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 " << "1|1|1|1" << "10.50000,21.00000,ERR 01!*" << "0=1 1=10.5 2=21" << 0;
        QTest::newRow("no transducer") << 0 << true << QStringList{"0NOXDCR", "0NOXDCR", "5"} << "$0RD $0Rd1 $0RD "
            << "ERR 01|ERR 01|5" << "ERR 01!*" << "0=5" << 1;
        QTest::newRow("magnet time-out") << 0 << true << QStringList{"5", "10.5", "20", "0NOMAG", "6", "~", "21", "0NOMAG"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD $0Rd1 $0Rd2 $0Rd3 " << "5|5|5|5|6|6|6|6" << "0.00000,21.00000,[----]!*"
            << "0=5,6 1=10.5,~ 2=20,21" << 0;
        QTest::newRow("no position in the reply") << 0 << true << QStringList{"abc", "abc", "1e99", "0NOMAG"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 " << "abc|abc|abc|abc" << "0.00000,1e99!,[----]!*" << "" << 0;
        QTest::newRow("unchecked mid-cycle") << 0 << true << QStringList{"1", "10.5", "21", "!menu", "31.5", "2"}
            << "$0RD $0Rd1 $0Rd2 $0Rd3 $0RD " << "1|1|1|1|2" << "*" << "0=1,2 1=10.5 2=21 3=31.5" << 0;
        QTest::newRow("port closed in a magnet wait") << 0 << true
            << QStringList{"1", "10.5", "0NOMAG", "3", "!drop", "x", "x"} << "$0RD $0Rd1 $0Rd2 $0RD $0Rd1 "
            << "1|1|1|3|3||" << "10.50000,[----]!*" << "0=1,3,~ 1=10.5,~" << 4;
        QStringList script{"0"}, displays, trend{"0=0,0"};
        QString sent = "$3RD ";
        for (int k = 1; k <= 15; ++k) {
            script << QString::number(k);
            sent += QStringLiteral("$3Rd%1 ").arg(k, 0, 16);
            displays << QStringLiteral("%1.00000").arg(k);
            trend << QStringLiteral("%1=%1").arg(k) + (k == 1 ? ",1" : "");
        }
        QTest::newRow("fifteen magnets at node 3") << 3 << true << (script << "0" << "1") << sent + "$3RD $3Rd1 "
            << QStringList(18, "0").join('|') << displays.join(',') << trend.join(' ') << 2;
    }
    void pollSequence()
    {
        QFETCH(int, node);
        QFETCH(bool, magnets);
        QFETCH(QStringList, script);
        QFETCH(QString, sent);
        QFETCH(QString, labels);
        QFETCH(QString, displays);
        QFETCH(QString, trend);
        QFETCH(int, pollAfter);
        QVERIFY(link->open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), qint16(node)));
        port->sent.clear();
        menu->setChecked(magnets);
        TrendBuffer buffer;
        connect(monitor->poll(), &PositionPoll::read, [&](const PositionReading &r) { buffer.add(0, r); });
        QStringList shownLabels, shown;
        for (const QString &entry : std::as_const(script)) {
            if (entry == QLatin1String("!menu")) {
                menu->trigger();
                continue;
            }
            reply = entry;
            monitor->poll()->tick();
            shownLabels << panel->dispPosnLabel()->text();
        }
        for (MagPosnDisp *disp : panel->displays()) {
            const QColor colour = disp->findChild<QLabel *>(QStringLiteral("posnlabel"))->palette().color(QPalette::WindowText);
            shown << disp->text() + (colour == QColor(255, 0, 0) ? "!" : "");
        }
        QCOMPARE(port->sent.join(' ') + ' ', sent);
        QCOMPARE(shownLabels.join('|'), labels);
        QCOMPARE(shown.join(','), expand(displays));
        QCOMPARE(trendText(buffer), trend);
        QCOMPARE(monitor->poll()->magnet_poll(), pollAfter);
    }

    void displaysAreNamed()
    {
        for (int i = 0; i < 15; ++i) {
            auto *disp = panel->findChild<MagPosnDisp *>(QStringLiteral("MagPosn(%1)").arg(i));
            QCOMPARE(disp->findChild<QLabel *>(QStringLiteral("maglabel"))->text(), QStringLiteral("Magnet %1:").arg(i + 1));
        }
    }

    // A tick while an exchange waits (another command's, or an earlier tick's own, with the
    // timer firing meanwhile) sends nothing and leaves the cycle where it was.
    void tickWhileAnExchangeWaitsIsSkipped()
    {
        QVERIFY(link->open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), 0));
        port->sent.clear();
        menu->setChecked(true);
        port->replyDelayMs = 30;
        reply = QStringLiteral("1");
        QTimer::singleShot(10, link, [this] { monitor->poll()->tick(); });
        QVERIFY(link->sendrcv_nodeid(QStringLiteral("RXM"), false));
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, monitor->poll(), &PositionPoll::tick);
        timer.start();
        monitor->poll()->tick();
        timer.stop();
        QCOMPARE(port->sent, (QStringList{"$0RXM", "$0RD"}));
        QCOMPARE(monitor->poll()->magnet_poll(), 1);
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
        auto row = [](const char *time, int column, const char *value) {
            QStringList cells(17);
            cells[0] = QLatin1String(time);
            if (column >= 0)
                cells[column + 1] = QLatin1String(value);
            return cells.join(QLatin1Char(','));
        };
        QStringList header{"Time (s)", "Displayed (MM)"};
        for (int k = 1; k <= 15; ++k)
            header << QStringLiteral("Magnet %1 (MM)").arg(k);
        QCOMPARE(buffer.csvLines(QStringLiteral("MM")), (QStringList{header.join(','), row("0.250", 0, "12.5"),
            row("0.500", 1, "-0.25"), row("0.750", -1, ""), row("1.000", -1, ""), row("61.005", 15, "3")}));

        TrendBuffer full; // the displayed position every 200 ms, magnet 15 every 4 s, for 11 minutes
        for (qint64 ms = 0; ms <= 660000; ms += 200)
            full.add(ms, reading(ms % 4000 ? 0 : 15, "1"));
        QCOMPARE(full.count(0), TrendBuffer::Capacity);
        QCOMPARE(full.sample(0, TrendBuffer::Capacity - 1).ms, 659800);
        QCOMPARE(full.count(15), 151);
        QCOMPARE(full.sample(15, 0).ms, 60000);
    }

    void trendWindow()
    {
        QTemporaryDir dir;
        qint64 now = 0;
        auto *w = new TrendWindow(&prompt, [] { return QStringLiteral("MM"); });
        w->setClock([&now] { return now; });
        w->show();
        auto *span = w->findChild<QComboBox *>(QStringLiteral("TrendSpanCombo"));
        QStringList spans;
        for (int i = 0; i < span->count(); ++i)
            spans << span->itemText(i);
        QCOMPARE(spans.join(','), QStringLiteral("10 s,30 s,1 min,2 min,5 min,10 min"));
        QCOMPARE(w->spanMs(), 60000);
        for (const char *r : {"1", "2", "0NOXDCR", "3", "4", "No Magnet", "5"})
            w->take(reading(0, r)), now += 250;
        w->redraw();
        QCOMPARE(w->plot()->chart()->axes(Qt::Vertical).first()->titleText(), QStringLiteral("Position (MM)"));
        auto drawn = [w] { return QStringLiteral("%1 lines, %2 dots").arg(w->plot()->lineCount(0)).arg(w->plot()->dotCount(0)); };
        QCOMPARE(drawn(), QStringLiteral("2 lines, 1 dots"));

        // Paused (Enter on the focused button), the plot stays while readings go on.
        auto *pause = w->findChild<QPushButton *>(QStringLiteral("TrendPauseButton"));
        pause->setFocus();
        QTest::keyClick(pause, Qt::Key_Return);
        now = 2000;
        w->take(reading(0, "6"));
        w->redraw();
        QCOMPARE(drawn(), QStringLiteral("2 lines, 1 dots"));
        QTest::keyClick(pause, Qt::Key_Return);
        QCOMPARE(drawn(), QStringLiteral("3 lines, 0 dots"));

        prompt.saveName = dir.filePath(QStringLiteral("trend.csv"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("TrendExportButton")), Qt::LeftButton);
        QFile file(prompt.saveName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (w->buffer().csvLines(QStringLiteral("MM")).join("\r\n") + "\r\n").toLatin1());
        prompt.saveName = dir.path(); // a folder: the export fails and says so
        w->export_csv();
        QCOMPARE(prompt.messages, QStringList{"Could not export the position trend to " + dir.path() + "."});

        // Escape closes it; the next one opens at the same size.
        w->resize(500, 300);
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        delete w;
        TrendWindow again(&prompt, {});
        QCOMPARE(again.size(), QSize(500, 300));
    }

    // The window's entries: the trend takes the readings the poll makes anyway; the log
    // is saved from the File menu.
    void windowEntries()
    {
        QTemporaryDir dir;
        SimPort sim;
        NoOpener opener;
        QTX2SetlinkForm w(&sim, &prompt, &opener);
        w.serialForm()->setPauseFunction([](int) {});
        QVERIFY(w.start());
        QVERIFY(w.serialForm()->open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), 0));
        w.findChild<QTimer *>(QStringLiteral("PositionTimer"))->stop();
        w.findChild<QAction *>(QStringLiteral("TrendMenu"))->trigger();
        auto *trend = w.findChild<TrendWindow *>(QStringLiteral("TrendForm"));
        QVERIFY(trend && trend->isVisible() && !trend->isModal() && trend->windowTitle() == "Position Trend");
        sim.clearWire();
        for (int i = 0; i < 3; ++i)
            w.findChild<PositionMonitor *>()->poll()->tick();
        QCOMPARE(sim.sentMessages(), QStringList(3, QStringLiteral("$0RD")));
        QCOMPARE(trend->buffer().count(0), 3);
        trend->redraw();
        QCOMPARE(trend->plot()->chart()->axes(Qt::Vertical).first()->titleText(), QStringLiteral("Position (Inches)"));

        prompt.saveName = dir.filePath(QStringLiteral("log.txt"));
        w.findChild<QAction *>(QStringLiteral("SaveLogMenu"))->trigger();
        QFile file(prompt.saveName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), w.logPane()->text().toLatin1());
        QVERIFY(w.logPane()->text().contains(QStringLiteral("$0RMV -> QTXv2.05\r\n")));
    }

private:
    AnsweringPort *port = nullptr;
    RecordingPrompt prompt;
    SerialForm *link = nullptr;
    PositionPanel *panel = nullptr;
    QAction *menu = nullptr;
    PositionMonitor *monitor = nullptr;
    QString reply;
};

QTEST_MAIN(tst_PositionMonitor)
#include "tst_positionmonitor.moc"
