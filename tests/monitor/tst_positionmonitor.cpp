#include "AnsweringPort.h"
#include "RecordingPrompt.h"
#include "link/SerialForm.h"
#include "monitor/MagPosnDisp.h"
#include "monitor/PositionMonitor.h"
#include "monitor/PositionPanel.h"
#include "model/PositionPoll.h"

#include <QAction>
#include <QLabel>
#include <QSet>
#include <QTimer>
#include <QtTest>

namespace {

// A QTX2 with a number of magnets at fixed positions (magnet k at k * 10.5).
struct Device
{
    int magnets = 2;
    bool transducer = true;
    QString displayed = QStringLiteral("12.345");
    QSet<QString> silent;

    QByteArray answer(const QString &command) const
    {
        if (silent.contains(command))
            return {};
        const QString body = command.mid(2); // after "$" and a one-digit node
        if (body == QLatin1String("RMV"))
            return "*QTXv2 test\r";
        if (body == QLatin1String("RFD") || body == QLatin1String("RID"))
            return "*0\r";
        if (!transducer && (body == QLatin1String("RD") || body.startsWith(QLatin1String("Rd"))))
            return "*0NOXDCR\r";
        if (body == QLatin1String("RD"))
            return "*" + displayed.toLatin1() + "\r";
        if (body.startsWith(QLatin1String("Rd"))) {
            bool ok = false;
            const int k = body.mid(2).toInt(&ok, 16);
            if (!ok || k > magnets)
                return "*0NOMAG\r";
            return "*" + QByteArray::number(k * 10.5) + "\r";
        }
        return "*\r";
    }
};

} // namespace

class tst_PositionMonitor : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        device = Device();
        port = new AnsweringPort;
        port->device = [this](const QString &c) { return device.answer(c); };
        prompt = new RecordingPrompt;
        link = new SerialForm(port, prompt);
        SerialForm::Timing t = link->timing();
        t.pollWait = 150; // time-outs in a test need not last half a second
        t.plainWait = 150;
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
        delete prompt;
        delete port;
    }

    void displaysStartNamedAndBlank()
    {
        const QList<MagPosnDisp *> displays = panel->displays();
        QCOMPARE(displays.size(), 15);
        for (int i = 0; i < 15; ++i) {
            auto *disp = panel->findChild<MagPosnDisp *>(QStringLiteral("MagPosn(%1)").arg(i));
            QCOMPARE(disp, displays.at(i));
            QCOMPARE(disp->findChild<QLabel *>(QStringLiteral("maglabel"))->text(),
                     QStringLiteral("Magnet %1:").arg(i + 1));
            QCOMPARE(disp->text(), QStringLiteral(" "));
            QVERIFY(!disp->isError());
        }
        QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("DispPosnLabel"))->text(), QStringLiteral("0.0000"));
        QCOMPARE(MagPosnDisp().text(), QStringLiteral("40.3443"));
    }

    void displayTextsAndColours_data()
    {
        QTest::addColumn<int>("call"); // 0 set_text, 1 set_error, 2 set_position
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("position");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("red");

        QTest::newRow("text") << 0 << "abc" << 0.f << "abc" << false;
        QTest::newRow("error") << 1 << "[----]" << 0.f << "[----]" << true;
        QTest::newRow("position") << 2 << "" << 40.3443f << "40.34430" << false;
        QTest::newRow("negative") << 2 << "" << -1.5f << "-1.50000" << false;
        QTest::newRow("zero") << 2 << "" << 0.f << "0.00000" << false;
        QTest::newRow("large, no separator") << 2 << "" << 12345.5f << "12345.50000" << false;
    }

    void displayTextsAndColours()
    {
        QFETCH(int, call);
        QFETCH(QString, text);
        QFETCH(float, position);
        QFETCH(QString, shown);
        QFETCH(bool, red);

        MagPosnDisp disp;
        disp.set_error(QStringLiteral("was red")); // every call must set the colour afresh
        if (call == 0)
            disp.set_text(text, false);
        else if (call == 1)
            disp.set_error(text);
        else
            disp.set_position(position);

        auto *label = disp.findChild<QLabel *>(QStringLiteral("posnlabel"));
        QCOMPARE(label->text(), shown);
        QCOMPARE(disp.isError(), red);
        const QColor colour = label->palette().color(QPalette::WindowText);
        QCOMPARE(colour, red ? QColor(255, 0, 0) : disp.palette().color(QPalette::ButtonText));
    }

    void panelIsCompact()
    {
        panel->adjustSize();
        const QSize size = panel->sizeHint();
        QVERIFY2(size.width() <= 600, qPrintable(QString::number(size.width())));
        QVERIFY2(size.height() <= 130, qPrintable(QString::number(size.height())));
    }

    void menuUncheckedReadsDisplayEveryTick_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("shown");

        QTest::newRow("as received") << "12.345" << false << "12.345";
        QTest::newRow("no magnet") << "0NOMAG" << false << "[----]";
        QTest::newRow("no transducer") << "0NOXDCR" << false << "ERR 01";
        QTest::newRow("case matters") << "0nomag" << false << "0nomag";
        QTest::newRow("time-out") << "" << true << "No Magnet";
    }

    void menuUncheckedReadsDisplayEveryTick()
    {
        QFETCH(QString, reply);
        QFETCH(bool, silent);
        QFETCH(QString, shown);

        connectAt(0);
        device.displayed = reply;
        if (silent)
            device.silent << QStringLiteral("$0RD");
        QCOMPARE(tickAndCollect(4), QStringList(4, QStringLiteral("$0RD")));
        QCOMPARE(panel->dispPosnLabel()->text(), shown);
        QCOMPARE(monitor->poll()->magnet_poll(), 0);
    }

    void nodeIdGoesIntoEveryCommand()
    {
        connectAt(3);
        menu->setChecked(true);
        QCOMPARE(tickAndCollect(2), (QStringList{"$3RD", "$3Rd1"}));
    }

    void magnetCycle_data()
    {
        QTest::addColumn<int>("magnets");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("pollAfter");

        QTest::newRow("none") << 0 << QStringList{"$0RD", "$0Rd1", "$0RD", "$0Rd1"} << 0;
        QTest::newRow("two") << 2 << QStringList{"$0RD", "$0Rd1", "$0Rd2", "$0Rd3", "$0RD", "$0Rd1"} << 2;
        QStringList all{"$0RD"};
        for (const char *k : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "a", "b", "c", "d", "e", "f"})
            all << QStringLiteral("$0Rd") + QLatin1String(k);
        all << "$0RD" << "$0Rd1";
        QTest::newRow("fifteen") << 15 << all << 2;
    }

    void magnetCycle()
    {
        QFETCH(int, magnets);
        QFETCH(QStringList, commands);
        QFETCH(int, pollAfter);

        connectAt(0);
        device.magnets = magnets;
        menu->setChecked(true);
        QCOMPARE(tickAndCollect(commands.size()), commands);
        QCOMPARE(monitor->poll()->magnet_poll(), pollAfter);

        const QList<MagPosnDisp *> displays = panel->displays();
        for (int i = 0; i < 15; ++i) {
            if (i < magnets) {
                QCOMPARE(displays.at(i)->text(), QString::number((i + 1) * 10.5, 'f', 5));
                QVERIFY(!displays.at(i)->isError());
            } else {
                QCOMPARE(displays.at(i)->text(), QStringLiteral("[----]"));
                QVERIFY(displays.at(i)->isError());
            }
        }
    }

    void missingTransducerStopsTheCycle()
    {
        connectAt(0);
        menu->setChecked(true);
        device.transducer = false;
        QCOMPARE(tickAndCollect(3), (QStringList{"$0RD", "$0Rd1", "$0RD"}));
        QCOMPARE(panel->dispPosnLabel()->text(), QStringLiteral("ERR 01"));
        for (MagPosnDisp *disp : panel->displays()) {
            QCOMPARE(disp->text(), QStringLiteral("ERR 01"));
            QVERIFY(disp->isError());
        }

        // A transducer that comes back mid-way: only the polled magnet and the higher ones turn red.
        device.transducer = true;
        device.magnets = 15;
        tickAndCollect(3); // Rd1, Rd2, Rd3
        device.transducer = false;
        monitor->poll()->tick(); // Rd4
        QCOMPARE(panel->displays().at(2)->text(), QStringLiteral("31.50000"));
        QVERIFY(!panel->displays().at(2)->isError());
        QCOMPARE(panel->displays().at(3)->text(), QStringLiteral("ERR 01"));
        QCOMPARE(monitor->poll()->magnet_poll(), 0);
    }

    void magnetTimeoutShowsZero()
    {
        connectAt(0);
        menu->setChecked(true);
        device.magnets = 3;
        device.silent << QStringLiteral("$0Rd2");
        QCOMPARE(tickAndCollect(5), (QStringList{"$0RD", "$0Rd1", "$0Rd2", "$0Rd3", "$0Rd4"}));
        QCOMPARE(panel->displays().at(1)->text(), QStringLiteral("0.00000"));
        QVERIFY(!panel->displays().at(1)->isError());
        QCOMPARE(panel->displays().at(2)->text(), QStringLiteral("31.50000"));
    }

    void uncheckingBlanksEveryDisplay()
    {
        connectAt(0);
        device.magnets = 15;
        menu->trigger(); // checked
        tickAndCollect(4); // RD, Rd1 to Rd3
        QCOMPARE(panel->displays().at(2)->text(), QStringLiteral("31.50000"));
        QCOMPARE(monitor->poll()->magnet_poll(), 4);

        menu->trigger(); // unchecked
        for (MagPosnDisp *disp : panel->displays()) {
            QCOMPARE(disp->text(), QString());
            QVERIFY(!disp->isError());
        }
        // The magnet read already due still goes out but only blanks its own display...
        panel->displays().at(0)->set_text(QStringLiteral("kept"), false);
        QCOMPARE(tickAndCollect(1), QStringList{"$0Rd4"});
        QCOMPARE(panel->displays().at(3)->text(), QString());
        QCOMPARE(panel->displays().at(0)->text(), QStringLiteral("kept"));
        // ...and from then on only the displayed position is read.
        QCOMPARE(monitor->poll()->magnet_poll(), 0);
        QCOMPARE(tickAndCollect(2), (QStringList{"$0RD", "$0RD"}));
    }

    void disconnectedSendsNothing()
    {
        menu->setChecked(true);
        panel->dispPosnLabel()->setText(QStringLiteral("old"));
        QCOMPARE(tickAndCollect(3), QStringList());
        QCOMPARE(panel->dispPosnLabel()->text(), QString());
        QCOMPARE(monitor->poll()->magnet_poll(), 3); // the cycle still advances

        menu->setChecked(false);
        monitor->poll()->tick();
        QCOMPARE(monitor->poll()->magnet_poll(), 0);
    }

    // A tick while an exchange waits (another command's, or an earlier tick's own, with the
    // timer firing meanwhile) sends nothing and leaves the cycle where it was.
    void tickWhileAnExchangeWaitsIsSkipped()
    {
        connectAt(0);
        menu->setChecked(true);
        port->replyDelayMs = 60;
        bool busyDuringTick = false;
        QTimer::singleShot(10, link, [&] {
            busyDuringTick = link->is_busy();
            monitor->poll()->tick();
        });
        QVERIFY(link->sendrcv_nodeid(QStringLiteral("RXM"), false));
        QVERIFY(busyDuringTick);
        QCOMPARE(port->sent, QStringList{"$0RXM"});
        QCOMPARE(monitor->poll()->magnet_poll(), 0);

        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, monitor->poll(), &PositionPoll::tick);
        timer.start();
        QCOMPARE(tickAndCollect(1), QStringList{"$0RD"});
        timer.stop();
        QCOMPARE(monitor->poll()->magnet_poll(), 1);
    }

    void portClosedDuringMagnetWaitKeepsText()
    {
        connectAt(0);
        menu->setChecked(true);
        monitor->poll()->tick(); // RD
        panel->displays().at(0)->set_text(QStringLiteral("12.00000"), false);
        device.silent << QStringLiteral("$0Rd1");
        QTimer::singleShot(20, link, [this] { link->disconnect_qtx(); });
        monitor->poll()->tick();
        QCOMPARE(panel->displays().at(0)->text(), QStringLiteral("12.00000"));
        QVERIFY(!panel->displays().at(0)->isError());
    }

private:
    void connectAt(qint16 node)
    {
        QVERIFY(link->open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), node));
        port->sent.clear();
    }

    QStringList tickAndCollect(int ticks)
    {
        port->sent.clear();
        for (int i = 0; i < ticks; ++i)
            monitor->poll()->tick();
        return port->sent;
    }

    AnsweringPort *port = nullptr;
    RecordingPrompt *prompt = nullptr;
    SerialForm *link = nullptr;
    PositionPanel *panel = nullptr;
    QAction *menu = nullptr;
    PositionMonitor *monitor = nullptr;
    Device device;
};

QTEST_MAIN(tst_PositionMonitor)
#include "tst_positionmonitor.moc"
