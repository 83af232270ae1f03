// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Qtx2Device.h"
#include "SimOptions.h"
#include "SimPort.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

// The simulated QTX2 as qtx2-sim's command line sets it up: its replies byte for byte, and
// how the in-process port delivers them.
class TestDevice : public QObject
{
    Q_OBJECT

    static SimOptions options(const QString &arguments)
    {
        SimOptions o;
        QString error;
        const QStringList args = QStringList{"qtx2-sim"} + arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        [&] { QCOMPARE(SimOptions::parse(args, &o, &error), SimOptions::Outcome::Run); }();
        return o;
    }

private slots:
    // A script of "message>reply" pairs. A message is sent as "$0" + message + CR, as
    // written + CR when it starts with "$", as unescaped bytes + CR after "=". A reply is
    // "*" + payload + CR, nothing for "-", or unescaped bytes after "=". Magnet k sits at
    // 10 + 3.5 (k - 1) inches.
    void conversation_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("script");
        QTest::newRow("identity") << "" << "RMV>QTXv2.05;RID>0;RFD>;WE>;WP>;$1RMV>-;$10RMV>-;$RMV>-;=0RMV>-;rmv>ERR CMD;"
                                           "XYZ>ERR CMD;RZZ>ERR CMD;>ERR CMD";
        QTest::newRow("framing") << "" << "=\\n$0RM\\nV>QTXv2.05;=\\xff\\x80z$0RID>0;=$0RM$0RID>0;=$0RID\\r$0RFD>=*0\\r*\\r;"
                                          "S" + QString(300, 'x') + ">-;RMV>QTXv2.05";
        QTest::newRow("node 7") << "--node 7 --device-version QTXv2" << "RID>7;$7RID>7;RMV>-;$7RMV>QTXv2";
        QTest::newRow("listens elsewhere") << "--node 2 --answer-node 4" << "RID>2;$2RMV>-;$4RMV>QTXv2.05";
        QTest::newRow("factory values")
            << "" << "RdP>3;RdU>25;RdZ>NO;RPU>INCHES;RPR>0.0001968504;RPS>1;RPO>0;RPo>0;RPD>POSITIVE;RXt>SINGLE;RXm>1;RXg>1;"
                     "RXr>1;RPmA>0;RXT>SSIBIN;RXM>1;RXB>24;RXE>0;RXe>FFFFFFFF;RXG>9;RXH>20;RXb>500K;RXA>OFF;RXp>1;RAV>0-10V;"
                     "RAT>FORCED;RAS>0;RAR>10;RAP>0;RAf>0;RAF>0;RL5A>INSIDE;RL2S>0;Rp8>0;RCS>12345";
        QTest::newRow("integers") << "" << "WE>;SdP5>;RdP>5;SdP0>ERR;SdP6>ERR;SdP2.5>ERR;SdP>ERR;RdP>5;SXH0>;RXH>0;SXg15>ERR;"
                                           "SAE255>;RAE>255";
        QTest::newRow("reals") << "" << "WE>;SPS2.5>;RPS>2.5;SPS0>ERR;SPS2.5x>ERR;SL5U1e2>;RL5U>100;SAP.5>;RAP>0.5;SAP100.5>ERR;"
                                        "SPR1.0>;RPR>1;SPR1.01>ERR;SAR-1234.56789>;RAR>-1234.568;Sp399999.99999>;Rp3>100000;"
                                        "Sp3100001>ERR;Sp3-100001>ERR;Sp112.5>;Rp1>12.5;SPmA-3.25>;RPmA>-3.25";
        QTest::newRow("tokens, hex") << "" << "WE>;SXTSTARTSTOP>;RXT>STARTSTOP;SXTstartstop>ERR;SXTStart/Stop>ERR;SAV-2.5-7V>;"
                                              "RAV>-2.5-7V;SXeff>;RXe>FF;SXE0000001A>;RXE>1A;SXE123456789>ERR;SCSXYZ>ERR;RCS>12345";
        QTest::newRow("write protection") << "" << "SdP5>ERR WP;SID3>ERR WP;SFD>ERR WP;RdP>3;RID>0;SZZ5>ERR CMD;WE>;SdP5>;WP>;"
                                                   "SdP4>ERR WP;RdP>5";
        QTest::newRow("node change") << "" << "WE>;SID10>ERR;SID>ERR;SID-1>ERR;SIDx>ERR;SID3>;RMV>-;$3RMV>QTXv2.05;RID>3;"
                                              "$3SID0>;RID>0;RMV>QTXv2.05";
        QTest::newRow("factory reset") << "" << "WE>;SPUMM>;SdP5>;SXAGSERIES>;SPO12.5>;SPmF-3>;SL3AOUTSIDE>;SXM4>;SCS7>;SFD>;"
                                                "RPU>INCHES;RdP>3;RXA>OFF;RPO>0;RPmF>0;RL3A>INSIDE;RXM>1;RCS>12345;RMV>QTXv2.05";
        QTest::newRow("no factory command") << "--no-factory" << "WE>;SdP5>;RFD>-;SFD>-;RdP>5;RMV>QTXv2.05";
        QTest::newRow("units") << "" << "WE>;SPO1>;SPS2.5>;SPUFEET>;RPO>0.08333333;RXG>0.75;RPS>2.5;SPUCM>;RPO>2.54;RXG>22.86;"
                                        "SPUMM>;RPO>25.4;RXG>228.6;SPR25.4>;SPR25.5>ERR;SPUMETERS>;RPO>0.0254;RXG>0.2286;"
                                        "SAR0.2286>;RAR>0.2286;SPUFEET>;SXG0.0000008333333>;SXG0.0000008>ERR;SAP100>;SPUINCHES>;RAR>9";
        QTest::newRow("positions") << "--magnets 2" << "WE>;SPR0.001>;RD>10.000;Rd1>10.000;Rd2>13.500;RdF>ERR CMD;Rd0>ERR CMD;"
                                                       "RdP>3;SPUMM>;SdP1>;RD>254.0;Rd2>342.9;SPUINCHES>;SdP2>;SPS2>;SPO1>;"
                                                       "SPm20.25>;SPo-0.5>;Rd1>21.00;Rd2>28.25;RD>20.50;SXtGAP>;RD>6.75;"
                                                       "SXtRELATIVE>;SXm2>;RD>6.75;SXtSINGLE>;SPDNEGATIVE>;Rd1>-19.00;SXM1>;RD>0NOMAG";
        QTest::newRow("magnets on the probe") << "--magnets 2" << "RXM>2;Rd2>13.500;Rd3>0NOMAG;Rdf>0NOMAG;WE>;SXM5>;RXM>5;"
                                                                  "Rd3>0NOMAG;SXM1>;Rd2>0NOMAG";
        QTest::newRow("bare probe") << "--magnets 0" << "RXM>1;Rd1>0NOMAG;RD>0NOMAG;WE>;SXM3>;Rd1>0NOMAG";
        QTest::newRow("full probe") << "--magnets 15" << "RXM>15;Rd3>17.000;Rdf>59.000";
        QTest::newRow("no transducer") << "--no-transducer" << "RD>0NOXDCR;Rd1>0NOXDCR;Rd9>0NOXDCR";
        QTest::newRow("line feed") << "--lf" << "RMV>=*QTXv2.05\\r\\n";
        QTest::newRow("garbage") << "--garbage \\xff\\x80 --garbage-after \\x01z --lf" << "RID>=\\xff\\x80*0\\r\\n\\x01z";
        QTest::newRow("silent") << "--silent" << "RID>-;RMV>-";
        QTest::newRow("endless") << "--endless" << "RMV>=*QTXv2.05";
        QTest::newRow("pulled after 2") << "--pull-after 2" << "RID>0;$5RMV>-;RMV>-";
    }
    void conversation()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, script);
        Qtx2Device device;
        options(arguments).configure(&device);
        device.setClock([] { return qint64(0); });
        for (int k = 1; k <= MagnetProbe::MaxMagnets; ++k)
            device.probe().pin(k, 10.0 + 3.5 * (k - 1));
        for (const QString &pair : script.split(QLatin1Char(';'))) {
            const QString message = pair.section(QLatin1Char('>'), 0, 0), reply = pair.section(QLatin1Char('>'), 1);
            const QByteArray in = message.startsWith('=') ? SimOptions::unescape(message.mid(1))
                                  : message.startsWith('$') ? message.toLatin1() : "$0" + message.toLatin1();
            const QByteArray out = reply.startsWith('=') ? SimOptions::unescape(reply.mid(1))
                                   : reply == QLatin1String("-") ? QByteArray() : '*' + reply.toLatin1() + '\r';
            const QByteArray got = device.receive(in + '\r');
            QVERIFY2(got == out, qPrintable(pair + " answered " + QString::fromLatin1(got)));
        }
    }

    // Unpinned, the magnets lie in order along the probe and move with the clock.
    void magnetsMove()
    {
        qint64 now = 0;
        MagnetProbe probe;
        probe.setClock([&now] { return now; });
        for (int k = 1; k < MagnetProbe::MaxMagnets; ++k)
            QVERIFY(probe.position(k) < probe.position(k + 1));
        const double before = probe.position(1);
        now = 3000;
        QVERIFY(probe.position(1) != before && probe.position(15) < 60);
    }

    // The port gives replies their time on the line, one after the other, and only
    // through the event loop.
    void delivery()
    {
        for (const char *arguments : {"--line-time --baud 1200", "--sfd-delay 200"}) {
            const SimOptions o = options(QString::fromLatin1(arguments));
            SimPort port;
            o.configure(&port.device());
            port.setLineRate(o.lineTime ? o.baud : 0);
            QVERIFY(port.open());
            QList<QByteArray> got;
            connect(&port, &SimPort::readyRead, this, [&] { got << port.readAll(); });
            QElapsedTimer clock;
            clock.start();
            port.write("$0SFD\r$0RID\r");
            QVERIFY(got.isEmpty());
            QTRY_COMPARE_WITH_TIMEOUT(got.join(), QByteArray("*ERR WP\r*0\r"), 5000);
            QVERIFY(clock.elapsed() >= (o.lineTime ? 85 : 190)); // 11 bytes at 8.3 ms, or the slow reply
            QVERIFY(got.size() >= (o.lineTime ? 11 : 2));
        }
    }

    // A reply underway is lost with a closed port or a pulled cable, which
    // fails the open port once, and writes and opens until plugged back.
    void portEvents()
    {
        SimPort port;
        QVERIFY(port.open());
        QSignalSpy failed(&port, &SimPort::portFailed);
        QSignalSpy ready(&port, &SimPort::readyRead);
        port.device().faults().latencyMs = 50;
        port.write("$0RMV\r");
        port.close();
        QVERIFY(port.open());
        port.write("$0RMV\r");
        port.pullCable();
        QCOMPARE(port.write("$0RID\r"), qint64(-1));
        QVERIFY(!failed.wait(200) && ready.isEmpty());
        QCOMPARE(failed.size(), 1);
        port.close();
        QVERIFY(!port.open());
        port.plugCable();
        QVERIFY(port.open());
        port.write("$0RID\r");
        QVERIFY(ready.wait(5000));
        QCOMPARE(port.readAll(), QByteArray("*0\r"));
    }

    void refusedOptions()
    {
        SimOptions o;
        QString text;
        for (const char *args : {"--port 0", "--port 17", "--node 10", "--node one", "--magnets 16", "--magnets -1", "--latency -5",
                                 "--chunk 0", "--frobnicate", "--port", "COM1"})
            QCOMPARE(SimOptions::parse(QStringList{"qtx2-sim"} + QString::fromLatin1(args).split(' '), &o, &text), SimOptions::Outcome::Error);
        QCOMPARE(SimOptions::parse({"qtx2-sim", "--help"}, &o, &text), SimOptions::Outcome::Help);
        QVERIFY(text.contains("Magnets on the probe, 0 to 15"));
    }
};

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
