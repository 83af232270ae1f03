// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RecordingPrompt.h"
#include "link/PortDirectory.h"
#include "link/PortScan.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The qtx2-sim program end to end: its command line, its pseudo-terminal linked as COMn,
// and the link connecting to it over a real serial port.
class TestPty : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("QTX2_SIM"))
            QSKIP("QTX2_SIM names the qtx2-sim program; CTest sets it.");
    }

    // The link, started first, finds the terminal linked as COM2 on a new look and connects
    // over it, a second user of the port is refused as busy, and the simulator prints what it
    // heard. When the cable comes off after the fifth message, or the simulator ends, the
    // terminal hangs up: the link closes the port and says it was removed, and the COM2 link
    // is gone from the folder and from the ports that open.
    void endToEnd_data()
    {
        QTest::addColumn<bool>("pull");
        QTest::newRow("cable pulled") << true;
        QTest::newRow("simulator ends") << false;
    }
    void endToEnd()
    {
        QFETCH(bool, pull);
        QTemporaryDir home;
        const QString ports = home.path() + QStringLiteral("/Orvane Works/QTX2Setlink/ports");
        QProcess sim;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        sim.setProcessEnvironment(env);
        QStringList lines;
        connect(&sim, &QProcess::readyReadStandardOutput, this,
                [&] { lines += QString::fromLocal8Bit(sim.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts); });
        sim.start(qEnvironmentVariable("QTX2_SIM"), {"--node", "12"});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardError().contains("--node") && !QFileInfo::exists(ports));
        // The link is there before the simulator, and finds its port on a new look.
        QtSerialPortIo io(PortDirectory(ports, {}));
        RecordingPrompt prompt;
        SerialForm form(&io, &prompt);
        QVERIFY(!form.portScan().scan());

        sim.start(qEnvironmentVariable("QTX2_SIM"), QStringList{"--verbose", "--port", "2", "--magnets", "0", "--quit-after-seconds", "60"}
                                                        + (pull ? QStringList{"--pull-after", "5"} : QStringList()));
        QTRY_VERIFY_WITH_TIMEOUT(lines.size() >= 2, 15000);
        QCOMPARE(lines.at(1), ports + "/COM2");
        QCOMPARE(QFileInfo(lines.at(1)).symLinkTarget(), lines.at(0));
        QSignalSpy status(&form, &SerialForm::statusText);
        QSignalSpy lost(&form, &SerialForm::connectionLost);
        form.portScan().rescan(false);
        QCOMPARE(form.portScan().available(), QList<int>{2});
        QVERIFY(form.open_qtx(QStringLiteral("COM2"), QStringLiteral("19200 bps"), -1));
        QCOMPARE(status.last().first().toString(), QStringLiteral("Connected to QTXv2.05 on COM2@19200bps with Node ID 0"));
        QCOMPARE(form.sendrcv_timer(QStringLiteral("$0Rd1"), false), QStringLiteral("0NOMAG"));
        QtSerialPortIo other(PortDirectory(ports, {}));
        other.setPortNumber(2);
        QVERIFY(!other.open());
        QCOMPARE(other.lastOpenFailure(), SerialPortIo::OpenFailure::Busy);
        QVERIFY(form.sendrcv_nodeid(QStringLiteral("RPU"), false));
        QTRY_COMPARE_WITH_TIMEOUT(lines.filter("<- "), QStringList({"<- $0RID", "<- $0RMV", "<- $0RFD", "<- $0Rd1", "<- $0RPU"}), 10000);
        if (!pull)
            sim.terminate();
        QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, 10000);
        QVERIFY(!form.is_connected() && prompt.messages.isEmpty());
        QCOMPARE(status.last().first().toString(), QStringLiteral("COM2 was removed"));
        if (pull)
            sim.terminate();
        QVERIFY(sim.waitForFinished(15000) || sim.state() == QProcess::NotRunning);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(lines.at(1)).isSymLink());
        form.portScan().rescan(false);
        QVERIFY(form.portScan().available().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPty)
#include "tst_pty.moc"
