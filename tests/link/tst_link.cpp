// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AnsweringPort.h"
#include "RecordingPrompt.h"
#include "SimOptions.h"
#include "SimPort.h"
#include "link/PortDirectory.h"
#include "link/PortScan.h"
#include "link/BusyGuard.h"
#include "link/ExchangeEngine.h"
#include "link/SerialForm.h"

#include <QtCore>
#include <QtTest>

namespace {

enum Kind { Plain, Long, Addressed, LongAddressed, Poll };

// One connection attempt on port and speed `line` ("COM1 19200 bps") with messages `sent`
// and status text `status` (empty: refused), then a node ID change to 3 answered with `sid`
// ("-": silence).
struct Attempt { QString line; int node; QString script, sent, status; bool factory; QString sid; };

// One "RMV" exchange of a kind with the simulated device run with qtx2-sim options: its
// result (the payload, "false" after a time-out, or the poll's own result) and a poll's
// time-out entry in the log.
struct Exchange { int kind; QStringList options; QString result, logged = QString(); };

// A link over a port, connected (or not) by the test.
template <class Port> struct Rig
{
    Port port;
    RecordingPrompt prompt;
    SerialForm form{&port, &prompt};
    BusyGuard guard;
    QSignalSpy status{&form, &SerialForm::statusText};
    QSignalSpy log{&form, &SerialForm::exchanged};

    Rig() { form.setBusyGuard(&guard); form.scanPorts(); }
    QString lastStatus() const { return status.isEmpty() ? QString() : status.last().at(0).toString(); }
    bool connectAt(qint16 node) { return form.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), node); }
};

// The simulated device, connected at node 0 with rcvstring "INCHES", then run with options.
struct SimRig : Rig<SimPort>
{
    explicit SimRig(const QStringList &options = {})
    {
        connectAt(0);
        guard.setFree(false);
        form.sendrcv_nodeid(QStringLiteral("RPU"));
        configure(options);
        port.clearWire();
        log.clear();
        status.clear();
    }
    void configure(const QStringList &options)
    {
        SimOptions o;
        QString error;
        QCOMPARE(SimOptions::parse(QStringList{"qtx2-sim"} + options, &o, &error), SimOptions::Outcome::Run);
        o.configure(&port.device());
    }
    QString run(int kind, const QString &command, bool indicate = true)
    {
        const QString message = QStringLiteral("$0") + command;
        if (kind == Poll)
            return form.sendrcv_timer(message, indicate);
        const bool ok = kind == Plain ? form.sendrcv(message, indicate)
                        : kind == Long ? form.sendrcv_long(message, indicate)
                        : kind == Addressed ? form.sendrcv_nodeid(command, indicate)
                                            : form.sendrcv_long_nodeid(command, indicate);
        return ok ? form.rcvstring() : QStringLiteral("false");
    }
};

// Devices that come and go: what stands behind each number present, and the numbers tried.
struct ChangingPort : AnsweringPort
{
    QHash<int, QString> devices;
    QStringList tried;
    bool open() override
    {
        tried << QString::number(portNumber());
        return devices.contains(portNumber()) && AnsweringPort::open();
    }
    QString describePort(int number) const override { return devices.value(number); }
};

// A device answering from a script "message>payload;..." (see AnsweringPort::answer).
struct ScriptRig : Rig<AnsweringPort>
{
    explicit ScriptRig(const QString &script) { port.answer(script); }
    QString sent() { return std::exchange(port.sent, {}).join(QLatin1Char(' ')); }
};

} // namespace
Q_DECLARE_METATYPE(Attempt)
Q_DECLARE_METATYPE(Exchange)

// The device link: port scan and port numbers, the connection sequence, write protection
// and node ID change, and the framed exchange with its waits, pauses and failures, checked
// on the messages sent and the texts shown.
class TestLink : public QObject
{
    Q_OBJECT
    using Failure = SerialPortIo::OpenFailure;

private slots:
    void scan()
    {
        ScriptRig rig({});
        for (int n : {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
            rig.port.refused[n] = n == 2 ? Failure::Busy : Failure::Absent;
        QVERIFY(rig.form.scanPorts());
        for (qint16 i = -1; i <= 17; ++i)
            QCOMPARE(rig.form.is_port_avail(i), qint16(i == 1 || i == 3 || i == 16));
        QVERIFY(!rig.port.isOpen() && rig.prompt.messages.isEmpty());
        QVERIFY(rig.form.scanDetails().contains(QStringLiteral("COM2 (/dev/answering2): refused\n")));
        for (int n = 1; n <= 16; ++n)
            rig.port.refused[n] = n == 5 ? Failure::Permission : Failure::Absent;
        QVERIFY(!rig.form.scanPorts());
        QCOMPARE(rig.prompt.messages, QStringList{"At least one COM port must be available. Please close any other "
                                                  "programs that are using the COM port and try again."});
        QCOMPARE(rig.prompt.details.first(), rig.form.scanDetails());
#ifdef Q_OS_LINUX
        QVERIFY(rig.form.scanDetails().contains("COM5 (/dev/answering5): refused You probably need to be a member "
                                                 "of the \"dialout\" group"));
#endif
    }

    // Looks at the ports folder (+COMn a link to a device, ~COMn a dangling link, #COMn a
    // file, -COMn none) and the system's ports (name=stable name), each with the numbers
    // then given ("?": nothing there to open).
    void portNumbers_data()
    {
        QTest::addColumn<QStringList>("looks");
        QTest::newRow("entries keep theirs, the rest in name order")
            << QStringList{"+COM3 ~COM6 #COM9 +COM17 ttyUSB0 ttyS10 ttyS2 ttyS1 ttyACM0 | "
                           "1=ttyACM0 2=ttyS1 3=COM3 4=ttyS2 5=ttyS10 6=COM6? 7=ttyUSB0 9=COM9"};
        QTest::newRow("comers and goers move nobody")
            << QStringList{"ttyS0 ttyUSB1 | 1=ttyS0 2=ttyUSB1", "ttyS0 ttyUSB0 ttyUSB1 | 1=ttyS0 2=ttyUSB1 3=ttyUSB0",
                           "ttyUSB0 ttyUSB1 ttyACM0 | 2=ttyUSB1 3=ttyUSB0 4=ttyACM0",
                           "ttyACM0 ttyS0 ttyUSB0 | 1=ttyS0 3=ttyUSB0 4=ttyACM0"};
        QTest::newRow("known by stable name when renamed")
            << QStringList{"ttyUSB0=A ttyUSB1=B | 1=ttyUSB0 2=ttyUSB1", "ttyUSB0=B | 2=ttyUSB0",
                           "ttyUSB0=B ttyUSB1=A | 1=ttyUSB1 2=ttyUSB0"};
        QTest::newRow("an entry takes its number")
            << QStringList{"ttyS0 ttyS1 | 1=ttyS0 2=ttyS1", "+COM1 ttyS0 ttyS1 | 1=COM1 2=ttyS1 3=ttyS0", "-COM1 ttyS0 ttyS1 | 2=ttyS1 3=ttyS0"};
        QStringList all, numbered;
        for (int n = 1; n <= 16; ++n)
            all << QStringLiteral("ttyS%1").arg(n), numbered << QStringLiteral("%1=ttyS%1").arg(n);
        QTest::newRow("every number held: an absent one's is given")
            << QStringList{all.join(' ') + " | " + numbered.join(' '),
                           all.join(' ').replace(" ttyS3 ", " ttyUSB0 ") + " | " + numbered.join(' ').replace("3=ttyS3", "3=ttyUSB0")};
    }
    void portNumbers()
    {
#ifdef Q_OS_WIN
        QSKIP("COMn is the system's own name on Windows.");
#endif
        QFETCH(QStringList, looks);
        QTemporaryDir dir;
        QList<PortDirectory::SystemPort> system;
        QVERIFY(QDir(dir.path()).mkpath("ports") && QDir(dir.path()).mkpath("dev"));
        PortDirectory directory = PortDirectory::listing(dir.filePath("ports"), [&system] { return system; });
        for (const QString &look : looks) {
            system.clear();
            for (const QString &token : look.section('|', 0, 0).split(' ', Qt::SkipEmptyParts)) {
                const QString entry = dir.filePath("ports/" + token.mid(1)), device = dir.filePath("dev/" + token.section('=', 0, 0));
                if (token[0] == '+' || token[0] == '~')
                    QFile::link(token[0] == '+' ? QStringLiteral("/dev/null") : dir.filePath("gone"), entry);
                else if (token[0] == '#')
                    QFile(entry).open(QIODevice::WriteOnly);
                else if (token[0] == '-')
                    QFile::remove(entry);
                else if (QFile(device).open(QIODevice::WriteOnly))
                    system.append({device, {}, {}, {}, token.section('=', 1)});
            }
            directory.refresh();
            QStringList numbers;
            for (int n = 0; n <= 17; ++n)
                if (!directory.location(n).isEmpty())
                    numbers << QStringLiteral("%1=%2%3").arg(n).arg(QFileInfo(directory.location(n)).fileName(), directory.present(n) ? "" : "?");
            QCOMPARE(numbers.join(' '), look.section('|', 1).trimmed());
        }
    }

    // What a port is: maker and product (not twice), serial number, stable name; for an
    // entry of the ports folder, where it points and what that is.
    void portDetails()
    {
        QTemporaryDir dir;
        const QString usb = dir.filePath("ttyUSB0"), byId = dir.filePath("usb-FTDI_A1");
        QVERIFY(QFile(usb).open(QIODevice::WriteOnly) && QFile::link(usb, byId) && QDir(dir.path()).mkpath("ports"));
        QVERIFY(QFile::link(byId, dir.filePath("ports/COM5")));
        const QList<PortDirectory::SystemPort> system{{usb, "FTDI", "FTDI FT232R USB UART", "A1", byId},
                                                      {"/dev/ttyS0", {}, {}, {}, {}}, {"/dev/ttyACM0", "Acme", "CDC", {}, {}}};
        const PortDirectory directory = PortDirectory::listing(dir.filePath("ports"), [&system] { return system; });
        QStringList seen;
        for (int n = 1; n <= 5; ++n)
            seen << directory.details(n).join(", ");
        QCOMPARE(seen, QStringList({"Acme CDC", "", "FTDI FT232R USB UART, serial number A1, " + byId, "",
                                    "→ " + byId + ", " + usb + ", FTDI FT232R USB UART, serial number A1"}));
    }

    // A new look tries only numbers whose device is new or another, refused ones only when
    // asked, none while the port is open; a device gone is dropped untried. Each step: the
    // change (n=device, n- gone, n! busy, n. free, no open), the look ("scan", "look",
    // "retry"), the numbers tried and those that open.
    void rescan()
    {
        ChangingPort port;
        PortScan scan(&port);
        const QStringList steps{"1=a 2=b 3=c 2!/scan/1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16/1 3", "/look//1 3",
                                "4=d/look/4/1 3 4", "/retry/2/1 3 4", "2./look//1 3 4", "/retry/2/1 2 3 4",
                                "1-/look//2 3 4", "3=e/look/3/2 3 4", "1=a/look/1/1 2 3 4", "1o 5=f/retry//1 2 3 4"};
        for (const QString &step : steps) {
            const QStringList part = step.split('/');
            for (const QString &change : part[0].split(' ', Qt::SkipEmptyParts)) {
                const int n = change.left(change.size() - 1).toInt();
                if (change.endsWith('o'))
                    port.setPortNumber(n), port.open();
                else if (change.contains('='))
                    port.devices.insert(change.section('=', 0, 0).toInt(), change.section('=', 1));
                else if (change.endsWith('-'))
                    port.devices.remove(n);
                else if (change.endsWith('!'))
                    port.refused[n] = Failure::Busy;
                else
                    port.refused.remove(n);
            }
            port.tried.clear();
            part[1] == "scan" ? void(scan.scan()) : scan.rescan(part[1] == "retry");
            QStringList available;
            for (int n : scan.available())
                available << QString::number(n);
            QCOMPARE(port.tried.join(' ') + '/' + available.join(' '), part[2] + '/' + part[3]);
        }
        QVERIFY(port.isOpen());
    }

    void connection_data()
    {
        QTest::addColumn<Attempt>("a");
        auto row = [](const char *name, const char *line, int node, const QString &script, const QString &sent,
                      const QString &status, bool factory = true, const QString &sid = {}) {
            QTest::newRow(name) << Attempt{line, node, script, sent, status, factory, sid};
        };
        const QString ok = QStringLiteral("$0RMV>QTXv2.05;$0RFD>;"), sent = QStringLiteral("$0RID $0RMV $0RFD");
        const QString at0 = QStringLiteral("Connected to QTXv2.05 on COM1@19200bps with Node ID 0");
        row("detected 7", "COM1 19200 bps", -1, "$0RID>7;$7RMV>QTXv2;$7RFD>ERR", "$0RID $7RMV $7RFD",
            "Connected to QTXv2 on COM1@19200bps with Node ID 7");
        row("two digits: 0", "COM1 19200 bps", -1, ok + "$0RID>12", sent, at0, true, "ERR");
        row("letter: 0", "COM1 19200 bps", -1, ok + "$0RID>x", sent, at0, true, "-");
        row("silent: 0, no RFD", "COM12 9600 bps", -1, "$0RMV>QTXv2.05", sent, "Connected to QTXv2.05 on COM12@9600bps with Node ID 0", false);
        row("node given", "CO 1200 bps", 5, "$5RMV>QTXv2.05;$5RFD>", "$5RMV $5RFD", "Connected to QTXv2.05 on COM1@1200bps with Node ID 5");
        row("QTXv2 %1", "COM1 19200 bps", 0, "$0RFD>;$0RMV>QTXv2 %1", "$0RMV $0RFD", "Connected to QTXv2 %1 on COM1@19200bps with Node ID 0");
        for (const char *identity : {"QTXv1.90", "QTX", "qtxv2.05", "-"})
            row(identity, "COM1 19200 bps", 0, QStringLiteral("$0RFD>;$0RMV>") + identity, "$0RMV", "");
        row("no such port", "COM17 19200 bps", 0, ok, "", "");
        row("speed beyond 32 bits", "COM1 4294967296 bps", 0, ok, "", "");
        row("115200", "COM1 115200 bps", 0, ok, "$0RMV $0RFD", "Connected to QTXv2.05 on COM1@115200bps with Node ID 0");
    }
    void connection()
    {
        QFETCH(Attempt, a);
        const QString at = QLatin1Char('$') + a.status.section(QLatin1Char(' '), -1);
        ScriptRig rig(a.script + QStringLiteral(";%1WE>;%1SID3>%2;%1SFD>;$3SFD>").arg(at, a.sid));
        QCOMPARE(rig.form.open_qtx(a.line.section(' ', 0, 0), a.line.section(' ', 1), qint16(a.node)), !a.status.isEmpty());
        QCOMPARE(rig.sent(), a.sent);
        QCOMPARE(rig.lastStatus(), a.status.isEmpty() ? QStringLiteral("Disconnected") : a.status);
        QVERIFY(rig.guard.isFree() == !a.status.isEmpty() && rig.prompt.messages.isEmpty());
        if (a.status.isEmpty())
            return;
        QCOMPARE(rig.port.settings + QString::number(rig.port.portNumber()), a.line.section(' ', 1, 1) + ",n,8,1"
                                                                               + a.status.section("COM", 1).section('@', 0, 0));
        QVERIFY(rig.form.factory_command() == a.factory && rig.form.write_protected());

        // The change goes to the old node with the poll stopped, and leaves the poll as it
        // found it (stopped here before a change that gets no answer).
        const bool accepted = a.sid.isEmpty();
        if (a.sid == QLatin1String("-"))
            rig.guard.setFree(false);
        bool polled = false;
        connect(&rig.form, &SerialForm::exchanged, this, [&] { polled = polled || rig.guard.isFree(); });
        const int statusCount = rig.status.size();
        QCOMPARE(rig.form.change_nodeid(3), accepted);
        QCOMPARE(rig.sent(), at + "WE " + at + "SID3");
        QVERIFY(!polled && rig.status.size() == statusCount + accepted && rig.guard.isFree() == (a.sid != QLatin1String("-")));
        QCOMPARE(rig.lastStatus(), accepted ? a.status.chopped(1) + "3" : a.status);
        QCOMPARE(rig.prompt.messages, accepted ? QStringList() : QStringList{"Could not change node ID"});
        rig.form.sendrcv_nodeid(QStringLiteral("RXM"), false);
        rig.form.sendrcv_long_nodeid(QStringLiteral("SFD"), false);
        QCOMPARE(rig.sent(), accepted ? QStringLiteral("$3RXM $3SFD") : at + "RXM " + at + "SFD");
    }

    // A reply still on its way from a run that ended in the middle of an exchange comes in
    // while the port just opened is held quiet: it is dropped, not taken for the node ID
    // query's, so the identity query gets its own reply.
    void lateReplyOfAnEarlierRun()
    {
        Rig<SimPort> rig;
        rig.port.device().faults().latencyMs = 100;
        QTimer::singleShot(50, &rig.port, [&rig] { rig.port.inject("*0\r"); });
        QVERIFY(rig.connectAt(-1));
        QCOMPARE(rig.form.version_text(), QStringLiteral("QTXv2.05"));
    }

    // The first write after a connection or reset_wp lifts the protection; a refused "WE"
    // or "WP" is reported each time, but once only within one write walk.
    void writeProtection()
    {
        ScriptRig rig(QStringLiteral("$0RMV>QTXv2.05;$0RFD>;$0WE>;$0WP>"));
        QVERIFY(rig.connectAt(0));
        rig.sent();
        for (bool enable : {false, true, true})
            rig.form.write_enable(enable);
        rig.form.reset_wp();
        for (bool enable : {true, false, false})
            rig.form.write_enable(enable);
        QCOMPARE(rig.sent(), QStringLiteral("$0WE $0WE $0WP"));
        QVERIFY(rig.form.write_protected() && rig.prompt.messages.isEmpty());
        rig.port.answer(QString());
        rig.form.write_enable(true);
        {
            const ParameterLink::WriteWalk walk(&rig.form);
            rig.form.write_enable(true);
            rig.form.write_enable(true);
        }
        rig.form.write_enable(true);
        QCOMPARE(rig.sent(), QStringLiteral("$0WE $0WE $0WE $0WE"));
        QCOMPARE(rig.prompt.messages, QStringList(3, QStringLiteral("Could not un-writeprotect")));
        rig.port.answer(QStringLiteral("$0WE>"));
        rig.form.write_enable(true);
        rig.form.write_enable(false);
        QCOMPARE(rig.prompt.messages.last(), QStringLiteral("Could not writeprotect"));
        QVERIFY(!rig.form.write_protected());
    }

    // Every kind sends "$0RMV" + CR and takes the payload of every shape of reply. The wait
    // bounds the silence before each piece: 0.2 s, 10 s for the long kinds, 0.5 s for a
    // poll. A late reply is never taken by the next exchange.
    void exchange_data()
    {
        QTest::addColumn<Exchange>("x");
        const QStringList slow{"--chunk", "3", "--chunk-gap", "1000"};
        const QStringList flood{"--device-version", QString(5000, 'A'), "--chunk", "1000", "--chunk-gap", "10"};
        const QString longest(ExchangeEngine::MaxReplyLength - 1, 'B');
        QTest::newRow("first star only") << Exchange{Addressed, {"--device-version", "*5 "}, "*5 "};
        QTest::newRow("codes below 20") << Exchange{Addressed, {"--device-version", "v\x01w\x14\x13\x01"}, "v\x01w\x14"};
        QTest::newRow("longest") << Exchange{Addressed, {"--device-version", longest}, longest};
        QTest::newRow("CR LF") << Exchange{Addressed, {"--lf"}, "QTXv2.05"};
        QTest::newRow("LF read later") << Exchange{Addressed, {"--lf", "--chunk", "10", "--chunk-gap", "20"}, "QTXv2.05"};
        QTest::newRow("bytes after CR") << Exchange{Addressed, {"--garbage-after", "*2\\r"}, "QTXv2.05"};
        QTest::newRow("noise before") << Exchange{Addressed, {"--garbage", "\\xff*7"}, "QTXv2.05"};
        QTest::newRow("pieces 110 ms apart") << Exchange{Plain, {"--chunk", "1", "--chunk-gap", "110"}, "QTXv2.05"};
        QTest::newRow("plain 150 ms") << Exchange{Addressed, {"--latency", "150"}, "QTXv2.05"};
        QTest::newRow("plain 300 ms") << Exchange{Addressed, {"--latency", "300"}, "false"};
        QTest::newRow("plain partial") << Exchange{Plain, slow, "false"};
        QTest::newRow("plain flood") << Exchange{Addressed, flood, "false"};
        QTest::newRow("long 400 ms") << Exchange{Long, {"--latency", "400"}, "QTXv2.05"};
        QTest::newRow("long addressed 400 ms") << Exchange{LongAddressed, {"--latency", "400"}, "QTXv2.05"};
        QTest::newRow("poll 300 ms") << Exchange{Poll, {"--latency", "300"}, "QTXv2.05"};
        QTest::newRow("poll 800 ms") << Exchange{Poll, {"--latency", "800"}, "No Magnet", " Timeout"};
        QTest::newRow("poll partial") << Exchange{Poll, slow, "No Magnet", "*QT Timeout"};
        QTest::newRow("poll flood") << Exchange{Poll, flood, "No Magnet", '*' + QString(longest.size(), 'A') + " Timeout"};
    }
    void exchange()
    {
        QFETCH(Exchange, x);
        SimRig rig(x.options);
        QElapsedTimer clock; // from the end of the exchange
        const QString result = rig.run(x.kind, QStringLiteral("RMV"));
        clock.start();
        QCOMPARE(result, x.result);
        QCOMPARE(rig.port.wire(), QByteArray("$0RMV\r"));
        const bool timedOut = x.result == QLatin1String("false") || x.result == QLatin1String("No Magnet");
        QCOMPARE(rig.prompt.messages, timedOut ? QStringList{"Timeout sending message: $0RMV"} : QStringList());
        QCOMPARE(rig.form.rcvstring(), x.kind == Poll ? "INCHES" : timedOut ? "TIMEOUT ERROR" : x.result);
        QCOMPARE(rig.log.size(), !timedOut || x.kind == Poll ? 1 : 0);
        if (!rig.log.isEmpty())
            QCOMPARE(rig.log.at(0), (QVariantList{"$0RMV", timedOut ? x.logged : x.result}));
        if (x.options.contains(QStringLiteral("1000")))
            return; // the rest of that reply is still on its way
        rig.configure({});
        // The line stays quiet from the exchange's end: 10 ms after a reply, 5 before a message but a poll.
        const int next = x.kind == Long ? Poll : Addressed;
        QCOMPARE(rig.run(next, QStringLiteral("RID"), false), QStringLiteral("0"));
        QVERIFY(clock.elapsed() + 1 >= (timedOut || x.kind == Poll ? 0 : 10) + (next == Poll ? 0 : 5));
    }

    // 5 ms before each message but a poll's, then 10 ms after the reply (none after a set
    // command), both before the log; nothing after a time-out.
    void pauses()
    {
        SimRig rig;
        SerialForm::Timing timing;
        QCOMPARE(timing.setCommandPause, 0);
        timing.setCommandPause = 7; // made visible
        rig.form.setTiming(timing);
        QStringList events;
        rig.form.setPauseFunction([&](int ms) { events << QStringLiteral("%1 pause %2").arg(rig.port.sentMessages().size()).arg(ms); });
        connect(&rig.form, &SerialForm::exchanged, this, [&] { events << QStringLiteral("%1 log").arg(rig.port.sentMessages().size()); });
        QCOMPARE(rig.run(Plain, QStringLiteral("SdP3"), false), QStringLiteral("ERR WP"));
        QCOMPARE(rig.run(Plain, QStringLiteral("RID"), false), QStringLiteral("0"));
        QCOMPARE(rig.run(Poll, QStringLiteral("RdP"), false), QStringLiteral("3"));
        QVERIFY(!rig.form.sendrcv(QStringLiteral("$1RID"), false));
        QCOMPARE(events, QStringList({"0 pause 5", "1 pause 7", "1 log", "1 pause 5", "2 pause 10", "2 log", "3 log", "3 pause 5"}));
    }

    // A cable pulled, a disconnection or a failed write ends the wait at once as a closed
    // port does; after it nothing is sent, logged or shown and rcvstring stays.
    void failureDuringWait_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("failure");
        QTest::newRow("cable pulled, plain") << int(Addressed) << "pull";
        QTest::newRow("cable pulled, poll") << int(Poll) << "pull";
        QTest::newRow("disconnected, long") << int(LongAddressed) << "disconnect";
        QTest::newRow("port removed") << int(Addressed) << "remove";
        QTest::newRow("write fails") << int(Addressed) << "write";
    }
    void failureDuringWait()
    {
        QFETCH(int, kind);
        QFETCH(QString, failure);
        SimRig rig({"--latency", "5000"});
        rig.guard.setFree(true);
        QSignalSpy lost(&rig.form, &SerialForm::connectionLost);
        if (failure == QLatin1String("write")) {
            rig.port.disconnect(&rig.form); // writes fail without a word from the port
            rig.port.pullCable();
        }
        QTimer::singleShot(50, &rig.port, [&] {
            failure == "pull" ? rig.port.pullCable() : failure == "remove" ? rig.port.setAvailablePorts({}) : rig.form.disconnect_qtx();
        });
        QCOMPARE(rig.run(kind, QStringLiteral("RMV")), kind == Poll ? QString() : QStringLiteral("false"));
        QVERIFY(!rig.form.is_connected() && !rig.form.isBusy() && !rig.guard.isFree());
        QCOMPARE(rig.status, QList<QVariantList>{{failure == "remove" ? "COM1 was removed" : "Disconnected"}});
        QCOMPARE(lost.size(), failure == QLatin1String("disconnect") ? 0 : 1);
        rig.port.clearWire();
        QCOMPARE(rig.run(Addressed, QStringLiteral("RMV")) + rig.run(Long, QStringLiteral("SFD")), QStringLiteral("falsefalse"));
        QCOMPARE(rig.run(Poll, QStringLiteral("RD")), QString());
        QCOMPARE(rig.form.rcvstring(), QStringLiteral("INCHES"));
        QVERIFY(rig.port.wire().isEmpty() && rig.log.isEmpty() && rig.prompt.messages.isEmpty());
    }

    // Quitting the application ends every event loop, the waits included: they end as if
    // the port had closed, and the link works afterwards.
    void applicationQuitDuringWait()
    {
        SimRig rig({"--silent"});
        QStringList results;
        QTimer::singleShot(0, &rig.form, [&] {
            QTimer::singleShot(30, &rig.form, [&] { results << rig.run(LongAddressed, "RID", false); });
            results << rig.run(LongAddressed, "RMV", false);
        });
        QTimer::singleShot(150, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        QCOMPARE(results, QStringList({"false", "false"}));
        QCOMPARE(rig.port.sentMessages(), QStringList{"$0RMV"});
        rig.configure({});
        QCOMPARE(rig.run(Addressed, "RID", false), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
