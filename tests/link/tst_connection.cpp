#include "RecordingPrompt.h"
#include "ScriptedPort.h"
#include "link/SerialForm.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// Port scan, connection sequence, write protection and node ID change, checked on the
// bytes the link writes.
class TestConnection : public QObject
{
    Q_OBJECT

    struct Rig
    {
        ScriptedPort port;
        RecordingPrompt prompt;
        SerialForm form{&port, &prompt};
        QTimer positionTimer;
        QSignalSpy status{&form, &SerialForm::statusText};

        Rig()
        {
            form.setPositionTimer(&positionTimer);
            positionTimer.setInterval(250);
            positionTimer.start();
        }
        QString lastStatus() const { return status.isEmpty() ? QString() : status.last().at(0).toString(); }
        bool connectDevice(qint16 node = 0)
        {
            const QByteArray prefix = "$" + QByteArray::number(node);
            port.answer(prefix + "RMV", "*QTXv2.05\r");
            port.answer(prefix + "RFD", "*\r");
            if (!form.scan_ports())
                return false;
            const bool ok = form.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), node);
            port.wire.clear();
            return ok;
        }
    };

private slots:
    void scanMarksPortsThatOpen()
    {
        Rig rig;
        rig.port.setPresent({1, 3, 16});
        rig.port.refuse(2, SerialPortIo::OpenFailure::Busy, QStringLiteral("in use"));
        QVERIFY(rig.form.scan_ports());
        for (qint16 i = 0; i <= 16; ++i)
            QCOMPARE(rig.form.is_port_avail(i), qint16(i == 1 || i == 3 || i == 16 ? 1 : 0));
        QCOMPARE(rig.form.is_port_avail(17), qint16(0));
        QCOMPARE(rig.form.is_port_avail(-1), qint16(0));
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.port.openCount, 3);
        QVERIFY(rig.prompt.messages.isEmpty());
        QVERIFY(rig.form.scan_details().contains(QStringLiteral("COM2 (/dev/scripted2): in use")));
        QCOMPARE(rig.form.port_description(3), QStringLiteral("/dev/scripted3"));
    }

    void scanWithNoPortTellsWhy()
    {
        Rig rig;
        rig.port.setPresent({});
        rig.port.refuse(5, SerialPortIo::OpenFailure::Permission, QStringLiteral("Permission denied"));
        QVERIFY(!rig.form.scan_ports());
        QCOMPARE(rig.prompt.messages,
                 QStringList{QStringLiteral("At least one COM port must be available. Please close any other "
                                            "programs that are using the COM port and try again.")});
        const QString details = rig.prompt.details.first();
        QVERIFY(details.contains(QStringLiteral("COM5 (/dev/scripted5): Permission denied")));
#ifdef Q_OS_LINUX
        QVERIFY(details.contains(QStringLiteral("\"dialout\" group")));
#endif
        QCOMPARE(details, rig.form.scan_details());
    }

    void portAndSpeed_data()
    {
        QTest::addColumn<QString>("portstr");
        QTest::addColumn<QString>("baudstr");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::newRow("COM1") << "COM1" << "19200 bps" << true << 1 << "19200,n,8,1";
        QTest::newRow("COM12") << "COM12" << "9600 bps" << true << 12 << "9600,n,8,1";
        QTest::newRow("short text is port 1") << "CO" << "1200 bps" << true << 1 << "1200,n,8,1";
        QTest::newRow("port not available") << "COM7" << "19200 bps" << false << 0 << "";
        QTest::newRow("speed beyond 32 bits") << "COM1" << "4294967296 bps" << false << 0 << "";
        QTest::newRow("115200") << "COM1" << "115200 bps" << true << 1 << "115200,n,8,1";
    }
    void portAndSpeed()
    {
        QFETCH(QString, portstr);
        QFETCH(QString, baudstr);
        QFETCH(bool, connected);
        QFETCH(int, port);
        QFETCH(QString, settings);
        Rig rig;
        rig.port.setPresent({1, 12});
        rig.port.answer("$0RMV", "*QTXv2.05\r");
        QVERIFY(rig.form.scan_ports());
        rig.port.setPortNumber(0);
        QCOMPARE(rig.form.open_qtx(portstr, baudstr, 0), connected);
        QCOMPARE(rig.form.is_connected(), connected);
        QCOMPARE(rig.positionTimer.isActive(), connected);
        if (connected) {
            QCOMPARE(rig.port.portNumber(), port);
            QCOMPARE(rig.port.settings, settings);
            QCOMPARE(int(rig.form.cur_port()), port);
            QCOMPARE(QString::number(rig.form.cur_baud()) + ",n,8,1", settings);
        } else {
            QCOMPARE(rig.port.openCount, 2); // the scan's only
            QVERIFY(rig.port.wire.isEmpty());
            QCOMPARE(rig.lastStatus(), QStringLiteral("Disconnected"));
        }
    }

    void nodeIdDetection_data()
    {
        QTest::addColumn<qint16>("requested");
        QTest::addColumn<QByteArray>("ridReply"); // empty: silent
        QTest::addColumn<qint16>("node");
        QTest::newRow("one digit") << qint16(-1) << QByteArray("*7\r") << qint16(7);
        QTest::newRow("two digits") << qint16(-1) << QByteArray("*12\r") << qint16(0);
        QTest::newRow("not a digit") << qint16(-1) << QByteArray("*x\r") << qint16(0);
        QTest::newRow("empty") << qint16(-1) << QByteArray("*\r") << qint16(0);
        QTest::newRow("silent") << qint16(-1) << QByteArray() << qint16(0);
        QTest::newRow("given") << qint16(5) << QByteArray("*7\r") << qint16(5);
    }
    void nodeIdDetection()
    {
        QFETCH(qint16, requested);
        QFETCH(QByteArray, ridReply);
        QFETCH(qint16, node);
        Rig rig;
        if (!ridReply.isEmpty())
            rig.port.answer("$0RID", ridReply);
        const QByteArray prefix = "$" + QByteArray::number(node);
        rig.port.answer(prefix + "RMV", "*QTXv2\r");
        rig.port.answer(prefix + "RFD", "*\r");
        QVERIFY(rig.form.scan_ports());
        QVERIFY(rig.form.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), requested));
        QCOMPARE(rig.form.get_nodeid(), node);
        QList<QByteArray> expected{prefix + "RMV", prefix + "RFD"};
        if (requested == -1)
            expected.prepend("$0RID");
        QCOMPARE(rig.port.messages(), expected);
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void identity_data()
    {
        QTest::addColumn<QByteArray>("reply"); // empty: silent
        QTest::addColumn<bool>("accepted");
        QTest::newRow("exactly QTXv2") << QByteArray("*QTXv2\r") << true;
        QTest::newRow("with version") << QByteArray("*QTXv2.05\r") << true;
        QTest::newRow("older device") << QByteArray("*QTXv1.90\r") << false;
        QTest::newRow("too short") << QByteArray("*QTX\r") << false;
        QTest::newRow("lower case") << QByteArray("*qtxv2.05\r") << false;
        QTest::newRow("silent") << QByteArray() << false;
    }
    void identity()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, accepted);
        Rig rig;
        if (!reply.isEmpty())
            rig.port.answer("$0RMV", reply);
        rig.port.answer("$0RFD", "*\r");
        QVERIFY(rig.form.scan_ports());
        QCOMPARE(rig.form.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), 0), accepted);
        QCOMPARE(rig.form.is_connected(), accepted);
        QCOMPARE(rig.positionTimer.isActive(), accepted);
        QVERIFY(rig.prompt.messages.isEmpty());
        if (accepted) {
            const QString version = SerialForm::classify_reply(reply);
            QCOMPARE(rig.lastStatus(),
                     QStringLiteral("Connected to %1 on COM1@19200bps with Node ID 0").arg(version));
            QCOMPARE(rig.form.version_text(), version);
            QVERIFY(rig.form.write_protected());
        } else {
            QCOMPARE(rig.lastStatus(), QStringLiteral("Disconnected"));
            QCOMPARE(rig.port.messages().size(), 1); // no "RFD" after a refusal
        }
    }

    void factoryProbe_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("factory");
        QTest::newRow("any reply") << QByteArray("*ERR\r") << true;
        QTest::newRow("empty reply") << QByteArray("*\r") << true;
        QTest::newRow("silent") << QByteArray() << false;
    }
    void factoryProbe()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, factory);
        Rig rig;
        rig.port.answer("$0RMV", "*QTXv2.05\r");
        if (!reply.isEmpty())
            rig.port.answer("$0RFD", reply);
        QVERIFY(rig.form.scan_ports());
        QVERIFY(rig.form.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), 0));
        QCOMPARE(rig.form.factory_command(), factory);
        QVERIFY(rig.lastStatus().startsWith(QStringLiteral("Connected to QTXv2.05")));
    }

    // A port that vanishes during the identity query must not be reported as connected,
    // whatever an earlier connection left in rcvstring.
    void portLostDuringConnection()
    {
        Rig rig;
        QVERIFY(rig.connectDevice());
        rig.form.disconnect_qtx();
        QSignalSpy lost(&rig.form, &SerialForm::connectionLost);
        rig.port.answer("$0RMV", "*QTXv2.05\r", 5000);
        QTimer::singleShot(50, &rig.port, [&rig] { rig.port.pull(); });
        QVERIFY(!rig.form.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), 0));
        QVERIFY(!rig.form.is_connected());
        QVERIFY(!rig.positionTimer.isActive());
        QCOMPARE(rig.lastStatus(), QStringLiteral("Disconnected"));
        QCOMPARE(lost.size(), 1);
    }

    void writeProtection()
    {
        Rig rig;
        QVERIFY(rig.connectDevice());
        rig.port.answer("$0WE", "*\r");
        rig.port.answer("$0WP", "*\r");
        rig.port.answer("$0SXM2", "*\r");

        rig.form.write_enable(false); // already protected: nothing
        QVERIFY(rig.port.wire.isEmpty());
        for (int i = 0; i < 2; ++i) {
            rig.form.write_enable(true);
            rig.form.sendrcv_nodeid("SXM2", false);
        }
        QCOMPARE(rig.port.wire, QByteArray("$0WE\r$0SXM2\r$0SXM2\r"));
        QVERIFY(!rig.form.write_protected());

        rig.port.wire.clear();
        rig.form.reset_wp();
        QVERIFY(rig.port.wire.isEmpty());
        rig.form.write_enable(true);
        rig.form.write_enable(false);
        rig.form.write_enable(false);
        QCOMPARE(rig.port.wire, QByteArray("$0WE\r$0WP\r"));
        QVERIFY(rig.form.write_protected());
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void unansweredProtectionCommands()
    {
        Rig rig;
        QVERIFY(rig.connectDevice());
        rig.port.scriptInTurn("$0WE", {ScriptedPort::Reply{}, ScriptedPort::Reply{{"*\r"}, 0, 0}});
        rig.form.write_enable(true);
        QCOMPARE(rig.prompt.messages, QStringList{QStringLiteral("Could not un-writeprotect")});
        QVERIFY(rig.form.write_protected());
        rig.form.write_enable(true); // tried again, answered this time
        QCOMPARE(rig.port.wire, QByteArray("$0WE\r$0WE\r"));
        QVERIFY(!rig.form.write_protected());

        rig.form.write_enable(false); // "WP" unscripted: silent
        QCOMPARE(rig.prompt.messages.last(), QStringLiteral("Could not writeprotect"));
        QVERIFY(!rig.form.write_protected());
        QCOMPARE(rig.prompt.messages.size(), 2);
    }

    void changeNodeIdAccepted()
    {
        Rig rig;
        QVERIFY(rig.connectDevice());
        rig.port.answer("$0WE", "*\r");
        rig.port.answer("$0SID3", "*\r");
        rig.port.answer("$3RD", "*12.5\r");
        bool timerStoppedDuringChange = false;
        connect(&rig.form, &SerialForm::exchanged, this,
                [&] { timerStoppedDuringChange = !rig.positionTimer.isActive(); });

        QVERIFY(rig.form.change_nodeid(3));
        QVERIFY(timerStoppedDuringChange);
        QCOMPARE(rig.port.wire, QByteArray("$0WE\r$0SID3\r"));
        QCOMPARE(rig.form.get_nodeid(), qint16(3));
        QCOMPARE(rig.lastStatus(), QStringLiteral("Connected to QTXv2.05 on COM1@19200bps with Node ID 3"));
        QVERIFY(rig.positionTimer.isActive());
        QCOMPARE(rig.form.sendrcv_timer("$" + QString::number(rig.form.get_nodeid()) + "RD", false),
                 QStringLiteral("12.5"));
        rig.port.wire.clear();
        rig.form.sendrcv_nodeid("RXM", false);
        QCOMPARE(rig.port.wire, QByteArray("$3RXM\r"));
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void changeNodeIdRefused_data()
    {
        QTest::addColumn<QByteArray>("reply"); // empty: silent
        QTest::addColumn<bool>("timerRunning");
        QTest::newRow("silent, polling") << QByteArray() << true;
        QTest::newRow("payload, polling") << QByteArray("*ERR\r") << true;
        QTest::newRow("silent, not polling") << QByteArray() << false;
    }
    void changeNodeIdRefused()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, timerRunning);
        Rig rig;
        QVERIFY(rig.connectDevice());
        rig.port.answer("$0WE", "*\r");
        if (!reply.isEmpty())
            rig.port.answer("$0SID3", reply);
        if (!timerRunning)
            rig.positionTimer.stop();
        const int statusCount = rig.status.size();

        QVERIFY(!rig.form.change_nodeid(3));
        QCOMPARE(rig.prompt.messages, QStringList{QStringLiteral("Could not change node ID")});
        QCOMPARE(rig.form.get_nodeid(), qint16(0));
        QCOMPARE(rig.status.size(), statusCount);
        QCOMPARE(rig.positionTimer.isActive(), timerRunning);
    }

    // With the port closed the exchange fails without touching rcvstring, which may well
    // be empty from an earlier reply; that is no acceptance.
    void changeNodeIdOnClosedPort()
    {
        Rig rig;
        QVERIFY(rig.connectDevice());
        QCOMPARE(rig.form.rcvstring(), QString()); // "RFD" answered empty
        rig.form.disconnect_qtx();
        QVERIFY(!rig.form.change_nodeid(3));
        QCOMPARE(rig.form.get_nodeid(), qint16(0));
        QVERIFY(rig.port.wire.isEmpty());
        QVERIFY(!rig.positionTimer.isActive());
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
