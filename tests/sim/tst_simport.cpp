#include "SimPort.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

// The in-process port: replies through the event loop with the device's timing.
class TestSimPort : public QObject
{
    Q_OBJECT

    // Collects every piece the port delivers, one entry per readyRead.
    struct Pieces
    {
        QList<QByteArray> list;
        QByteArray all() const { return list.join(); }
    };
    static void collect(SimPort &port, Pieces &pieces)
    {
        QObject::connect(&port, &SimPort::readyRead, &port, [&port, &pieces] {
            pieces.list << port.readAll();
        });
    }

private slots:
    void replyComesThroughTheEventLoop()
    {
        SimPort port;
        QVERIFY(port.open());
        QSignalSpy ready(&port, &SimPort::readyRead);
        QCOMPARE(port.write("$0RMV\r"), qint64(6));
        QCOMPARE(port.bytesAvailable(), qint64(0)); // never inside write()
        QVERIFY(ready.wait(5000));
        QCOMPARE(port.readAll(), QByteArray("*QTXv2.05\r"));
        QCOMPARE(port.bytesAvailable(), qint64(0));
        port.write("$0RID\r$0WE\r");
        QTRY_COMPARE_WITH_TIMEOUT(port.bytesAvailable(), qint64(5), 5000);
        QCOMPARE(port.readAll(), QByteArray("*0\r*\r"));
        QCOMPARE(port.wire(), QByteArray("$0RMV\r$0RID\r$0WE\r"));
        QCOMPARE(port.sentMessages(), QStringList({"$0RMV", "$0RID", "$0WE"}));
    }

    void openOnlyTheAvailablePorts()
    {
        SimPort port;
        port.setAvailablePorts({1, 3});
        port.setBusyPorts({3});
        port.setPortNumber(2);
        QVERIFY(!port.open());
        QCOMPARE(port.lastOpenFailure(), SerialPortIo::OpenFailure::Absent);
        QVERIFY(port.describePort(2).isEmpty());
        port.setPortNumber(3);
        QVERIFY(!port.open());
        QCOMPARE(port.lastOpenFailure(), SerialPortIo::OpenFailure::Busy);
        port.setPortNumber(1);
        port.setSettings("9600,n,8,1");
        QVERIFY(port.open());
        QCOMPARE(port.lastOpenFailure(), SerialPortIo::OpenFailure::None);
        QVERIFY(port.isOpen());
        QCOMPARE(port.settings(), QStringLiteral("9600,n,8,1"));
        port.close();
        QCOMPARE(port.write("$0RMV\r"), qint64(-1));
        QVERIFY(port.wire().isEmpty());
    }

    // The device's timing and framing faults as they reach the reader.
    void replyShapes_data()
    {
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<int>("chunk");     // with a 30 ms gap
        QTest::addColumn<bool>("lineFeed");
        QTest::addColumn<int>("lineRate");  // 0: no line-time emulation
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("pieces");    // at least
        QTest::addColumn<int>("minMs");
        QTest::newRow("latency before the first byte") << 300 << 0 << false << 0 << QByteArray("*QTXv2.05\r") << 1 << 290;
        QTest::newRow("chunked") << 0 << 3 << false << 0 << QByteArray("*QTXv2.05\r") << 4 << 3 * 30 - 5;
        QTest::newRow("line feed") << 0 << 0 << true << 0 << QByteArray("*QTXv2.05\r\n") << 1 << 0;
        QTest::newRow("1200 bps, 8.3 ms a byte") << 0 << 0 << false << 1200 << QByteArray("*QTXv2.05\r") << 10 << 9 * 8;
    }
    void replyShapes()
    {
        QFETCH(int, latencyMs);
        QFETCH(int, chunk);
        QFETCH(bool, lineFeed);
        QFETCH(int, lineRate);
        QFETCH(QByteArray, bytes);
        QFETCH(int, pieces);
        QFETCH(int, minMs);
        SimPort port;
        FaultSettings &f = port.device().faults();
        f.latencyMs = latencyMs;
        f.commandLatencyMs.insert("RID", 0); // another command's latency leaves this one alone
        f.chunkSize = chunk;
        f.chunkGapMs = chunk ? 30 : 0;
        f.lineFeed = lineFeed;
        if (lineRate)
            port.setLineRate(lineRate);
        QVERIFY(port.open());
        Pieces got;
        collect(port, got);
        QElapsedTimer clock;
        clock.start();
        port.write("$0RMV\r");
        QTRY_COMPARE_WITH_TIMEOUT(got.all(), bytes, 5000);
        QVERIFY2(clock.elapsed() >= minMs, QByteArray::number(clock.elapsed()));
        QVERIFY(got.list.size() >= pieces);
        if (chunk)
            QCOMPARE(got.list, QList<QByteArray>({"*QT", "Xv2", ".05", "\r"}));
    }

    void repliesKeepTheirOrder()
    {
        SimPort port;
        port.device().faults().commandLatencyMs.insert("RMV", 200);
        QVERIFY(port.open());
        Pieces pieces;
        collect(port, pieces);
        port.write("$0RMV\r$0RID\r"); // the slow one first: the quick one waits its turn
        QTRY_COMPARE_WITH_TIMEOUT(pieces.all(), QByteArray("*QTXv2.05\r*0\r"), 5000);
    }

    void closeDropsWhatIsUnderway()
    {
        SimPort port;
        port.device().faults().latencyMs = 100;
        QVERIFY(port.open());
        QSignalSpy ready(&port, &SimPort::readyRead);
        port.write("$0RMV\r");
        port.close();
        QVERIFY(port.open());
        QVERIFY(!ready.wait(400));
        QCOMPARE(port.bytesAvailable(), qint64(0));
    }

    void endlessReplyStopsAtTheNextOne()
    {
        SimPort port;
        port.device().faults().endlessReply = true;
        QVERIFY(port.open());
        Pieces pieces;
        collect(port, pieces);
        port.write("$0RMV\r");
        QTRY_VERIFY_WITH_TIMEOUT(pieces.all().size() > 60, 5000);
        QVERIFY(pieces.all().startsWith("*QTXv2.05"));
        QVERIFY(!pieces.all().contains('\r'));
        port.device().faults().endlessReply = false;
        port.write("$0RID\r");
        QTRY_VERIFY_WITH_TIMEOUT(pieces.all().endsWith("*0\r"), 5000);
        const int size = pieces.all().size();
        QTest::qWait(100);
        QCOMPARE(pieces.all().size(), size); // the filler is over
    }

    void injectedBytes()
    {
        SimPort port;
        QSignalSpy ready(&port, &SimPort::readyRead);
        port.inject("lost"); // closed: nobody hears it
        QCOMPARE(ready.count(), 0);
        QVERIFY(port.open());
        port.inject(QByteArray("\xff\x80\r\n", 4));
        QCOMPARE(ready.count(), 1);
        QCOMPARE(port.readAll(), QByteArray("\xff\x80\r\n", 4));
    }

    void pulledCable()
    {
        SimPort port;
        QVERIFY(port.open());
        QSignalSpy failed(&port, &SimPort::portFailed);
        port.device().faults().latencyMs = 50;
        port.write("$0RMV\r");
        port.pullCable();
        QCOMPARE(failed.count(), 1);
        QCOMPARE(port.write("$0RID\r"), qint64(-1));
        QVERIFY(!failed.wait(200)); // once only, and the pending reply never comes
        QCOMPARE(port.bytesAvailable(), qint64(0));
        port.close();
        QVERIFY(!port.open());
        QCOMPARE(port.lastOpenFailure(), SerialPortIo::OpenFailure::Absent);
        port.plugCable();
        QVERIFY(port.open());
        port.write("$0RID\r");
        QTRY_COMPARE_WITH_TIMEOUT(port.bytesAvailable(), qint64(3), 5000);
        QCOMPARE(port.readAll(), QByteArray("*0\r"));
    }

    void cableComesOffAfterMessages()
    {
        SimPort port;
        port.device().faults().pullCableAfter = 2;
        QVERIFY(port.open());
        QStringList events;
        connect(&port, &SimPort::readyRead, this, [&] { events << QString::fromLatin1(port.readAll()); });
        connect(&port, &SimPort::portFailed, this, [&] { events << QStringLiteral("failed"); });
        port.write("$0RID\r");
        port.write("$0RMV\r");
        QTRY_COMPARE_WITH_TIMEOUT(events, QStringList({"*0\r", "*QTXv2.05\r", "failed"}), 5000);
        QCOMPARE(port.write("$0RID\r"), qint64(-1));
        QVERIFY(port.cablePulled());
    }
};

QTEST_GUILESS_MAIN(TestSimPort)
#include "tst_simport.moc"
