// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RecordingPrompt.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"
#include "model/ItemTrack.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// qtx2ctl end to end: the program against qtx2-sim on a pseudo-terminal, linked as COM1.
class TestQtx2ctl : public QObject
{
    Q_OBJECT

    struct Sim
    {
        QProcess process;
        QString slave;
        ~Sim()
        {
            process.terminate();
            process.waitForFinished(10000);
        }
    };

    struct Run
    {
        int code = -1;
        QByteArray out;
        QString err;
    };

    QTemporaryDir m_dir;

    QString file(const QString &name) const { return m_dir.filePath(name); }

    static bool start(Sim &sim, const QStringList &args)
    {
        sim.process.start(qEnvironmentVariable("QTX2_SIM"), QStringList{"--quit-after-seconds", "120"} + args);
        while (sim.process.waitForStarted(10000) && !sim.process.canReadLine() && sim.process.waitForReadyRead(10000)) {
        }
        sim.slave = QString::fromLocal8Bit(sim.process.readLine()).trimmed();
        return !sim.slave.isEmpty();
    }

    static Run ctl(const QStringList &args, const QByteArray &in = QByteArray(), const QString &outFile = QString())
    {
        QProcess p;
        if (!outFile.isEmpty())
            p.setStandardOutputFile(outFile);
        p.start(qEnvironmentVariable("QTX2CTL"), args);
        p.write(in);
        p.closeWriteChannel();
        Run r;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
            r.code = p.exitCode();
        r.out = p.readAllStandardOutput();
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("QTX2_SIM") || qEnvironmentVariableIsEmpty("QTX2CTL"))
            QSKIP("QTX2_SIM and QTX2CTL name the programs; CTest sets them.");
        QVERIFY(m_dir.isValid());
        write(file("partial.txt"), "PUINCHES\r\nXM99\r\n"); // XM beyond its limits
    }

    // Upload writes what the window saves from the same device. The file programmed
    // carries XM4 where the device held XM1.
    void downloadVerifyDiff_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<int>("verifyCode");
        QTest::addColumn<QByteArray>("verifyOut");
        QTest::addColumn<int>("diffOldCode");
        const QByteArray xm = "XM file=4 device=1 (# of Magnets)\n";
        QTest::newRow("healthy device") << QStringList() << 0 << QByteArray() << 1;
        QTest::newRow("device ignoring XM") << QStringList{"--ignore-writes", "XM"} << 1 << xm << 0;
    }
    void downloadVerifyDiff()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(int, verifyCode);
        QFETCH(QByteArray, verifyOut);
        QFETCH(int, diffOldCode);
        Sim sim;
        QVERIFY(start(sim, simArgs));
        QCOMPARE(ctl({"--port", "1", "set", "PU=MM", "PR=0.005"}).code, 0); // lengths follow the unit
        QCOMPARE(ctl({"--port", "1", "get", "PU", "XM", "PR"}).out, QByteArray("PU=MM\nXM=1\nPR=.005\n"));
        QCOMPARE(ctl({"--port", "1", "upload", file("old.txt")}).code, 0);
        QByteArray bytes = read(file("old.txt"));
        QCOMPARE(ctl({"--port", "1", "upload", "-"}).out, bytes);
        {
            QtSerialPortIo io(PortDirectory::single(sim.slave));
            RecordingPrompt prompt;
            SerialForm link(&io, &prompt);
            QVERIFY(link.scanPort(1) && link.open_qtx("COM1", "19200", -1));
            SettingsSet window(&link);
            ItemTrack track(&window, &link);
            window.refreshCurrentUnits();
            track.upload_all();
            QCOMPARE(SettingsFile::bytes(track.fileLines()), bytes); // what the window saves
        }
        // The window's poll: the displayed position, magnet 1, magnet 2 (not on the probe:
        // no number), the displayed position again; each read in its own column, its time
        // as a date too, what it gave, the unit in the header.
        const QList<QByteArray> rows = ctl({"--port", "1", "monitor", "--magnets", "--count", "4"}).out.split('\n');
        QVERIFY(rows.size() == 6 && rows[0].startsWith("Time (s),Local time,Status,Displayed (MM),Magnet 1 (MM),"));
        QStringList filled;
        for (const QByteArray &row : rows.mid(1, 4)) {
            const QStringList cells = QString::fromLatin1(row).split(',');
            QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$").match(cells.value(1)).hasMatch());
            filled << cells.value(2) + ":" + QString::number(cells.size()) + ":"
                    + QString::number(cells.lastIndexOf(QRegularExpression("^-?\\d+(\\.\\d+)?$")));
        }
        QCOMPARE(filled, QStringList({"ok:19:3", "ok:19:4", "no magnet:19:0", "ok:19:3"}));
        QVERIFY(bytes.contains("\r\nXM1\r\n"));
        write(file("new.txt"), bytes.replace("\r\nXM1\r\n", "\r\nXM4\r\n"));

        const Run verify = ctl({"--port", "1", "download", file("new.txt"), "--verify"});
        QCOMPARE(verify.code, verifyCode);
        QCOMPARE(verify.out, verifyOut);
        QCOMPARE(verify.err, QString()); // no progress lines in a log
        QCOMPARE(ctl({"--port", "1", "diff", file("new.txt")}).out, verifyOut);
        const Run diffOld = ctl({"--port", "1", "diff", file("old.txt")});
        QCOMPARE(diffOld.code, diffOldCode);
        QCOMPARE(diffOld.out, diffOldCode ? QByteArray("XM file=1 device=4 (# of Magnets)\n") : QByteArray());
    }

    // One run each: its exit code, what it says on standard error and what, if anything,
    // it prints (an empty out: nothing may be printed).
    void runs_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("out");
        const QStringList none;
        const QStringList com1{"--port", "1"};
        QTest::newRow("unknown command") << none << com1 + QStringList{"frobnicate"} << 2 << "Unknown command \"frobnicate\"" << "";
        QTest::newRow("code in another case") << none << com1 + QStringList{"get", "xm"} << 2 << "Codes are case-sensitive" << "";
        QTest::newRow("beyond limits") << none << com1 + QStringList{"set", "XM=16"} << 2 << "XM takes a whole number from 1 to 15" << "";
        QTest::newRow("not a number") << none << com1 + QStringList{"set", "IA=abc"} << 2 << "IA takes a whole number from 0 to 255" << "";
        QTest::newRow("not whole") << none << com1 + QStringList{"set", "XM=2.5"} << 2 << "XM=2.5: XM takes a whole number" << "";
        QTest::newRow("not finite") << none << com1 + QStringList{"set", "PO=inf"} << 2
                                    << "PO takes a length from -99999.99999 to 99999.99999 Inches" << "";
        QTest::newRow("limits as given") << none << com1 + QStringList{"set", "PS=100000"} << 2
                                         << "PS takes a number from 0.00001 to 99999.99999" << "";
        QTest::newRow("not a choice") << none << com1 + QStringList{"set", "PU=YARDS"} << 2 << "one of INCHES, FEET, CM, MM, METERS" << "";
        QTest::newRow("length in the unit named") << none << com1 + QStringList{"set", "PR=30", "PU=MM"} << 2
                                                  << "a length from 0.000254 to 25.4 MM" << "";
        QTest::newRow("length with its unit") << none << com1 + QStringList{"set", "PO=5mm"} << 0 << "" << "";
        QTest::newRow("write ignored") << QStringList{"--ignore-writes", "XM"} << com1 + QStringList{"set", "XM=5"} << 1 << ""
                                       << "XM set=5 device=1 (# of Magnets)\n";
        QTest::newRow("units write ignored") << QStringList{"--ignore-writes", "PU"} << com1 + QStringList{"set", "PU=MM", "PO=5"}
                                             << 1 << "" << "PU set=MM device=INCHES (Units)\nPO set=5 MM device=5 Inches (Hard Offset)\n";
        QTest::newRow("writes refused") << QStringList{"--reply", "S=ERR WP"} << com1 + QStringList{"set", "XM=5"} << 1
                                        << "answered the write of XM with refused: ERR WP." << "";
        QTest::newRow("refused read") << QStringList{"--reply", "RIA=ERR CMD"} << com1 + QStringList{"get", "IA"} << 1
                                      << "answered $0RIA with refused: ERR CMD." << "";
        QTest::newRow("no backup of a refused read") << QStringList{"--reply", "RIA=ERR CMD"}
                                                     << com1 + QStringList{"factory-reset", "--backup", "@b.txt"} << 1
                                                     << "85 of 86 settings; not: IA refused: ERR CMD." << "";
        QTest::newRow("factory state") << none << com1 + QStringList{"diff", "--factory"} << 0
                                       << "left out: CS (a unit's own, no factory value)." << "";
        QTest::newRow("json") << none << com1 + QStringList{"info", "--json"} << 0 << "" << "\"identity\": \"QTXv2.05\"";
        QTest::newRow("bad node") << none << QStringList{"--node", "12", "info"} << 2 << "--node takes auto or a node ID" << "";
        QTest::newRow("no such device") << none << QStringList{"--device", "/nonexistent/tty", "info"} << 3
                                        << "cannot open /nonexistent/tty: /nonexistent/tty does not exist." << "";
        QTest::newRow("silent device") << QStringList{"--silent"} << com1 + QStringList{"info"} << 3
                                       << "$0RID (taking 0), then for the identity with $0RMV and got no reply" << "";
        QTest::newRow("stops answering") << QStringList{"--pull-after", "20"} << com1 + QStringList{"upload", "-"} << 3
                                         << "stopped answering" << "";
        QTest::newRow("monitor of a silent device") << QStringList{"--no-reply", "RD"} << com1 + QStringList{"monitor"} << 3
                                                  << "stopped answering: no reply for " << ",time-out,";
        QTest::newRow("no file") << none << com1 + QStringList{"download", "/nonexistent/a.txt"} << 4 << "cannot read" << "";
        QTest::newRow("file missing values") << none << com1 + QStringList{"diff", "@partial.txt"} << 4
                                             << "for p1, L1A, L1S, L1U, L1L, Xp, XA, IA and 77 more;" << "";
        QTest::newRow("unwritable file") << none << com1 + QStringList{"upload", "/nonexistent/a.txt"} << 4 << "cannot write" << "";
        QTest::newRow("unwritable backup") << QStringList{"--no-factory"}
                                           << com1 + QStringList{"factory-reset", "--backup", "/nonexistent/b.txt"} << 4
                                           << "cannot write /nonexistent/b.txt" << "";
    }
    void runs()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(QString, out);
        Sim sim;
        QVERIFY(start(sim, simArgs));
        for (QString &a : args)
            a.replace(QLatin1Char('@'), m_dir.path() + "/");
        const Run run = ctl(args);
        QVERIFY2(message.isEmpty() ? run.err.isEmpty() : run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.code, code);
        QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.contains(out.toLatin1()), run.out.constData());
    }

    // Each side's lengths in the unit it carries them in: a file in MM against a device in
    // inches, and a download whose units write the device ignored.
    void lengthsNameTheirUnit_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("line");
        QTest::newRow("diff") << QStringList() << QStringList{"diff"} << "PO file=10 MM device=5 Inches (Hard Offset)";
        QTest::newRow("PU ignored") << QStringList{"--ignore-writes", "PU"} << QStringList{"download", "--verify"}
                                    << "PO file=10 MM device=10 Inches (Hard Offset)";
    }
    void lengthsNameTheirUnit()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QStringList, args);
        QFETCH(QString, line);
        Sim sim;
        QVERIFY(start(sim, simArgs));
        QCOMPARE(ctl({"--port", "1", "set", "PO=5", "PR=0.001"}).code, 0);
        QByteArray bytes = ctl({"--port", "1", "upload", "-"}).out;
        QVERIFY(bytes.startsWith("PUINCHES\r\n") && bytes.contains("\r\nPO5\r\n"));
        bytes.replace("PUINCHES", "PUMM").replace("\r\nPO5\r\n", "\r\nPO10\r\n").replace("\r\nPR.001\r\n", "\r\nPR.0254\r\n");
        write(file("mm.txt"), bytes);
        const Run run = ctl(QStringList{"--port", "1"} + args + QStringList{file("mm.txt")});
        QVERIFY2(run.out.contains(line.toLatin1() + '\n'), run.out.constData());
        QCOMPARE(run.code, 1);
    }

    // The production line: a golden unit's file piped into a second unit keeps that unit's
    // own serial number (said on standard error) unless --all; a full standard output is
    // a failed run.
    void goldenFile()
    {
        Sim golden, unit;
        QVERIFY(start(golden, {"--serial", "111", "--port", "2"}));
        const QByteArray file = ctl({"--port", "2", "upload", "-"}).out;
        QVERIFY(file.contains("\r\nCS111\r\n"));
        QVERIFY(start(unit, {"--serial", "222"}));
        const Run run = ctl({"--port", "1", "download", "-", "--verify"}, file);
        QCOMPARE(run.code, 0);
        QVERIFY2(run.err.contains("CS left as the unit has it (--all writes it): the unit has CS=222, the file CS=111."),
                 qPrintable(run.err));
        QCOMPARE(ctl({"--port", "1", "get", "CS"}).out, QByteArray("CS=222\n"));
        QCOMPARE(ctl({"--port", "1", "download", "-", "--all", "--quiet"}, file).err, QString());
        QCOMPARE(ctl({"--port", "1", "get", "CS"}).out, QByteArray("CS=111\n"));
        const Run full = ctl({"--port", "1", "upload", "-"}, QByteArray(), "/dev/full");
        QCOMPARE(full.code, 4);
        QVERIFY2(full.err.contains("cannot write standard output: No space left on device"), qPrintable(full.err));
        QCOMPARE(ctl({"--help"}, QByteArray(), "/dev/full").code, 4);
    }

    // A port another program holds is named as held, and by whom.
    void heldPort()
    {
        Sim sim;
        QVERIFY(start(sim, {}));
        QProcess holder;
        holder.start(qEnvironmentVariable("QTX2CTL"), {"--port", "1", "monitor", "--count", "40"});
        QVERIFY(holder.waitForReadyRead(10000));
        const Run busy = ctl({"--port", "1", "info"});
        QVERIFY2(busy.code == 3 && busy.err.contains(QStringLiteral("is in use by another program (qtx2ctl, process %1)").arg(holder.processId())),
                 qPrintable(busy.err));
        holder.kill();
        holder.waitForFinished();
    }

    // Ctrl-C during a download ends it after the exchange in progress and says how far it
    // got and how it left the device.
    void interruptedDownload()
    {
        Sim sim;
        QVERIFY(start(sim, {"--verbose", "--latency", "20"}));
        write(file("unit.txt"), ctl({"--port", "1", "upload", "-"}).out);
        QProcess p;
        p.start(qEnvironmentVariable("QTX2CTL"), {"--port", "1", "download", file("unit.txt")});
        for (int writes = 0; writes < 10 && sim.process.waitForReadyRead(5000);)
            while (sim.process.canReadLine())
                writes += sim.process.readLine().startsWith("<- $0S") ? 1 : 0;
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 130);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(QRegularExpression("interrupted: the device on COM1 .* took 1\\d of 85 settings, the rest not; it is left "
                                    "write-enabled.")
                     .match(err)
                     .hasMatch(),
                 qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestQtx2ctl)
#include "tst_qtx2ctl.moc"
