#include "link/PortDirectory.h"
#include "RecordingPrompt.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

// Port numbers to system devices, and the real port's open failures and traffic.
class TestPortDirectory : public QObject
{
    Q_OBJECT

#ifdef Q_OS_LINUX
    // A pseudo-terminal standing in for a serial device: the master end is the device.
    struct Pty
    {
        int master = -1;
        QString slave;
        Pty()
        {
            master = posix_openpt(O_RDWR | O_NOCTTY);
            if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
                slave = QString::fromLocal8Bit(ptsname(master));
        }
        ~Pty() { closeMaster(); }
        void closeMaster()
        {
            if (master >= 0)
                ::close(master);
            master = -1;
        }
        QByteArray readSome()
        {
            QByteArray bytes;
            char buffer[256];
            const int flags = fcntl(master, F_GETFL);
            fcntl(master, F_SETFL, flags | O_NONBLOCK);
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                bytes = QByteArray(buffer, int(n));
            return bytes;
        }
    };
#endif

private slots:
    void mapping()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), folder.filePath("COM3")));
        QVERIFY(QFile::link(folder.filePath("nothing-here"), folder.filePath("COM6"))); // dangling
        QFile plain(folder.filePath("COM9"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), folder.filePath("COM17")));

        const PortDirectory directory(folder.path(), {"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyACM0", "/dev/ttyS0"});
#ifdef Q_OS_WIN
        QCOMPARE(directory.location(3), QStringLiteral("COM3"));
#else
        const QStringList expected{
            QString(),            // 0 is no port
            "/dev/ttyACM0",       // 1
            "/dev/ttyS0",         // 2
            folder.filePath("COM3"),
            "/dev/ttyS1",         // 4
            "/dev/ttyUSB0",       // 5
            folder.filePath("COM6"),
            QString(),            // 7: no system port left
            QString(),
            folder.filePath("COM9"),
        };
        for (int n = 0; n < expected.size(); ++n)
            QCOMPARE(directory.location(n), expected.at(n));
        QCOMPARE(directory.location(16), QString());
        QCOMPARE(directory.location(17), QString());
#endif
    }

#ifndef Q_OS_WIN
    void openFailsQuicklyWhenAbsent_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("dangling link") << 1;
        QTest::newRow("no entry, no system port") << 2;
    }
    void openFailsQuicklyWhenAbsent()
    {
        QFETCH(int, number);
        QTemporaryDir folder;
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/ttyX"), folder.filePath("COM1")));
        QtSerialPortIo port(PortDirectory(folder.path(), {}));
        port.setPortNumber(number);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!port.open());
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(!port.isOpen());
        QCOMPARE(port.lastOpenFailure(), SerialPortIo::OpenFailure::Absent);
        QVERIFY(!port.lastErrorText().isEmpty());
        QCOMPARE(port.write("x"), qint64(-1));
        QCOMPARE(port.readAll(), QByteArray());
    }
#endif

#ifdef Q_OS_LINUX
    void trafficOverPseudoTerminal()
    {
        Pty pty;
        QVERIFY(!pty.slave.isEmpty());
        QTemporaryDir folder;
        QVERIFY(QFile::link(pty.slave, folder.filePath("COM2")));
        QtSerialPortIo port(PortDirectory(folder.path(), {}));
        port.setPortNumber(2);
        port.setSettings(QStringLiteral("9600,n,8,1"));
        QCOMPARE(port.describePort(2), folder.filePath("COM2"));
        QVERIFY2(port.open(), qPrintable(port.lastErrorText()));
        QCOMPARE(port.lastOpenFailure(), SerialPortIo::OpenFailure::None);

        QCOMPARE(port.write("$0RMV\r"), qint64(6));
        QByteArray sent;
        QTRY_VERIFY_WITH_TIMEOUT((sent += pty.readSome()).contains('\r'), 5000);
        QCOMPARE(sent, QByteArray("$0RMV\r"));

        QSignalSpy ready(&port, &SerialPortIo::readyRead);
        QCOMPARE(::write(pty.master, "*QTXv2\r", 7), ssize_t(7));
        QByteArray received;
        QTRY_VERIFY_WITH_TIMEOUT((received += port.readAll()).contains('\r'), 5000);
        QCOMPARE(received, QByteArray("*QTXv2\r"));
        QVERIFY(!ready.isEmpty());

        // A second user of the same device is refused as busy.
        QtSerialPortIo other(PortDirectory(folder.path(), {}));
        other.setPortNumber(2);
        QVERIFY(!other.open());
        QCOMPARE(other.lastOpenFailure(), SerialPortIo::OpenFailure::Busy);

        // The device goes away: the open port reports it.
        QSignalSpy failed(&port, &SerialPortIo::portFailed);
        pty.closeMaster();
        QVERIFY(failed.wait(5000) || !failed.isEmpty());
        QCOMPARE(failed.size(), 1);
        QVERIFY(!port.isOpen()); // closed even with nobody listening
    }

    // The link over the real port: a device on the master end answers each message.
    void linkOverPseudoTerminal()
    {
        Pty pty;
        QTemporaryDir folder;
        QVERIFY(QFile::link(pty.slave, folder.filePath("COM4")));
        QtSerialPortIo port(PortDirectory(folder.path(), {}));
        RecordingPrompt prompt;
        SerialForm form(&port, &prompt);
        QSignalSpy status(&form, &SerialForm::statusText);
        QSignalSpy lost(&form, &SerialForm::connectionLost);

        QByteArray heard;
        QSocketNotifier device(pty.master, QSocketNotifier::Read);
        connect(&device, &QSocketNotifier::activated, this, [&] {
            heard += pty.readSome();
            qsizetype cr;
            while ((cr = heard.indexOf('\r')) >= 0) {
                const QByteArray message = heard.left(cr);
                heard.remove(0, cr + 1);
                const QByteArray reply = message == "$0RMV" ? "*QTXv2.05\r\n" : "*\r\n";
                QCOMPARE(::write(pty.master, reply.constData(), size_t(reply.size())), ssize_t(reply.size()));
            }
        });

        QVERIFY(form.scan_ports());
        QCOMPARE(form.is_port_avail(4), qint16(1));
        QVERIFY(form.open_qtx(QStringLiteral("COM4"), QStringLiteral("19200 bps"), 0));
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("Connected to QTXv2.05 on COM4@19200bps with Node ID 0"));
        QVERIFY(form.factory_command());

        device.setEnabled(false);
        pty.closeMaster();
        QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, 5000);
        QVERIFY(!form.is_connected());
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("Disconnected"));
    }

#endif
};

QTEST_GUILESS_MAIN(TestPortDirectory)
#include "tst_portdirectory.moc"
