#include "RecordingPrompt.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The qtx2-sim program end to end: a pseudo-terminal, its COM link, a real serial port.
class TestPty : public QObject
{
    Q_OBJECT

    // One running simulator with its own configuration folder and its output so far.
    struct Sim
    {
        QTemporaryDir home;
        QProcess process;
        QByteArray out;
        QString slave;
        QString link;

        QString portsFolder() const
        {
            return home.path() + QStringLiteral("/config/Orvane Works/QTX2Setlink/ports");
        }
        QStringList lines() const { return QString::fromLocal8Bit(out).split(QLatin1Char('\n')); }
    };

    static bool start(Sim &sim, const QStringList &args)
    {
        const QString program = qEnvironmentVariable("QTX2_SIM");
        if (program.isEmpty() || !sim.home.isValid())
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), sim.home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), sim.home.path() + QStringLiteral("/config"));
        sim.process.setProcessEnvironment(env);
        sim.process.setProcessChannelMode(QProcess::SeparateChannels);
        QObject::connect(&sim.process, &QProcess::readyReadStandardOutput, &sim.process,
                         [&sim] { sim.out += sim.process.readAllStandardOutput(); });
        sim.process.start(program, QStringList{QStringLiteral("--quit-after-seconds"), QStringLiteral("60")} + args);
        if (!sim.process.waitForStarted(10000))
            return false;
        QDeadlineTimer deadline(15000);
        while (sim.lines().size() < 3 && sim.process.state() == QProcess::Running && !deadline.hasExpired())
            QTest::qWait(20);
        if (sim.lines().size() < 3)
            return false;
        sim.slave = sim.lines().at(0);
        sim.link = sim.lines().at(1);
        return true;
    }

    static void stop(Sim &sim)
    {
        sim.process.terminate();
        QVERIFY(sim.process.waitForFinished(15000));
        QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process.exitCode(), 0);
        QVERIFY(!QFileInfo(sim.link).isSymLink());
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("QTX2_SIM"))
            QSKIP("QTX2_SIM names the qtx2-sim program; CTest sets it.");
    }

    void answersOnThePseudoTerminal()
    {
        Sim sim;
        QVERIFY2(start(sim, {}), sim.process.readAllStandardError().constData());
        QCOMPARE(sim.link, sim.portsFolder() + QStringLiteral("/COM1"));
        QVERIFY(QFileInfo(sim.link).isSymLink());
        QCOMPARE(QFileInfo(sim.link).symLinkTarget(), sim.slave);

        QSerialPort port;
        port.setPortName(sim.slave);
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        port.setBaudRate(19200);
        QByteArray reply;
        connect(&port, &QSerialPort::readyRead, this, [&] { reply += port.readAll(); });
        port.write("$0RMV\r");
        QTRY_VERIFY_WITH_TIMEOUT(reply.endsWith('\r'), 10000);
        QCOMPARE(reply, QByteArray("*QTXv2.05\r"));
        reply.clear();
        port.write("$0RPU\r$1RMV\r$0RdP\r"); // node 1 is someone else
        QTRY_COMPARE_WITH_TIMEOUT(reply, QByteArray("*INCHES\r*3\r"), 10000);
        port.close();
        QCOMPARE(sim.lines().size(), 3); // the two paths and nothing else

        stop(sim);
    }

    void serialFormConnects()
    {
        Sim sim;
        QVERIFY(start(sim, {QStringLiteral("--verbose"), QStringLiteral("--port"), QStringLiteral("2")}));
        QCOMPARE(sim.link, sim.portsFolder() + QStringLiteral("/COM2"));

        QtSerialPortIo io(PortDirectory(sim.portsFolder(), {}));
        RecordingPrompt prompt;
        SerialForm form(&io, &prompt);
        QVERIFY(form.scan_ports());
        QCOMPARE(form.is_port_avail(2), qint16(1));
        QCOMPARE(form.is_port_avail(1), qint16(0));
        QSignalSpy status(&form, &SerialForm::statusText);
        QVERIFY(form.open_qtx(QStringLiteral("COM2"), QStringLiteral("19200 bps"), -1));
        QCOMPARE(status.last().first().toString(),
                 QStringLiteral("Connected to QTXv2.05 on COM2@19200bps with Node ID 0"));
        QVERIFY(form.factory_command());
        QTRY_VERIFY_WITH_TIMEOUT(sim.lines().filter(QStringLiteral("<- ")).size() >= 3, 10000);
        QCOMPARE(sim.lines().filter(QStringLiteral("<- ")),
                 QStringList({"<- $0RID", "<- $0RMV", "<- $0RFD"}));
        QVERIFY(prompt.messages.isEmpty());
        form.disconnect_qtx();

        stop(sim);
    }

    void pulledCableTakesThePortAway()
    {
        Sim sim;
        QVERIFY(start(sim, {QStringLiteral("--pull-after"), QStringLiteral("1")}));
        QSerialPort port;
        port.setPortName(sim.slave);
        QVERIFY(port.open(QIODevice::ReadWrite));
        QByteArray reply;
        connect(&port, &QSerialPort::readyRead, this, [&] { reply += port.readAll(); });
        port.write("$0RID\r");
        QTRY_COMPARE_WITH_TIMEOUT(reply, QByteArray("*0\r"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(sim.link).isSymLink(), 10000);
        // The terminal hung up: reads fail (end of file on Linux, taken as a read error).
        QTRY_VERIFY_WITH_TIMEOUT(port.error() == QSerialPort::ResourceError
                                     || port.error() == QSerialPort::ReadError, 10000);
        port.close();
        stop(sim);
    }

    void refusesBadOptions()
    {
        Sim sim;
        QVERIFY(!start(sim, {QStringLiteral("--node"), QStringLiteral("12")}));
        QVERIFY(sim.process.state() == QProcess::NotRunning || sim.process.waitForFinished(10000));
        QCOMPARE(sim.process.exitCode(), 2);
        QVERIFY(sim.process.readAllStandardError().contains("--node"));
        QVERIFY(!QFileInfo::exists(sim.portsFolder()));
    }
};

QTEST_GUILESS_MAIN(TestPty)
#include "tst_pty.moc"
