#include "Qtx2Device.h"
#include "model/ParameterTable.h"

#include <QRegularExpression>
#include <QtTest>

// The simulated device's replies, byte for byte, as the application's link sees them.
class TestDevice : public QObject
{
    Q_OBJECT

    static QByteArray ask(Qtx2Device &d, const QByteArray &message)
    {
        return d.receive(message + '\r');
    }
    static void unlock(Qtx2Device &d) { QCOMPARE(ask(d, "$0WE"), QByteArray("*\r")); }

private slots:
    void framing_data()
    {
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("identity") << QByteArray("$0RMV\r") << QByteArray("*QTXv2.05\r");
        QTest::newRow("node query") << QByteArray("$0RID\r") << QByteArray("*0\r");
        QTest::newRow("factory probe") << QByteArray("$0RFD\r") << QByteArray("*\r");
        QTest::newRow("write enable") << QByteArray("$0WE\r") << QByteArray("*\r");
        QTest::newRow("write protect") << QByteArray("$0WP\r") << QByteArray("*\r");
        QTest::newRow("other node") << QByteArray("$1RMV\r") << QByteArray();
        QTest::newRow("two-digit node") << QByteArray("$10RMV\r") << QByteArray();
        QTest::newRow("no node") << QByteArray("$RMV\r") << QByteArray();
        QTest::newRow("no dollar") << QByteArray("0RMV\r") << QByteArray();
        QTest::newRow("commands are case-sensitive") << QByteArray("$0rmv\r") << QByteArray("*ERR CMD\r");
        QTest::newRow("unknown command") << QByteArray("$0XYZ\r") << QByteArray("*ERR CMD\r");
        QTest::newRow("unknown code") << QByteArray("$0RZZ\r") << QByteArray("*ERR CMD\r");
        QTest::newRow("empty command") << QByteArray("$0\r") << QByteArray("*ERR CMD\r");
        QTest::newRow("line feeds ignored") << QByteArray("\n$0RM\nV\r\n") << QByteArray("*QTXv2.05\r");
        QTest::newRow("noise before $") << QByteArray("\xff\x80zz$0RID\r") << QByteArray("*0\r");
        QTest::newRow("$ restarts") << QByteArray("$0RM$0RID\r") << QByteArray("*0\r");
        QTest::newRow("two at once") << QByteArray("$0RID\r$0RFD\r") << QByteArray("*0\r*\r");
    }
    void framing()
    {
        QFETCH(QByteArray, in);
        QFETCH(QByteArray, out);
        Qtx2Device d;
        QCOMPARE(d.receive(in), out);
    }

    void messageSplitAcrossFeeds()
    {
        Qtx2Device d;
        QCOMPARE(d.receive("$0R"), QByteArray());
        QCOMPARE(d.receive("M"), QByteArray());
        QCOMPARE(d.receive("V\r"), QByteArray("*QTXv2.05\r"));
    }

    void runawayMessageDropped()
    {
        Qtx2Device d;
        QCOMPARE(d.receive("$0S" + QByteArray(1000, 'x') + "\r"), QByteArray());
        QCOMPARE(ask(d, "$0RMV"), QByteArray("*QTXv2.05\r"));
    }

    void nodeQueryAnsweredAtNodeZeroWhateverTheNode()
    {
        Qtx2Device d(7);
        QCOMPARE(ask(d, "$0RID"), QByteArray("*7\r"));
        QCOMPARE(ask(d, "$7RID"), QByteArray("*7\r"));
        QCOMPARE(ask(d, "$0RMV"), QByteArray());
        QCOMPARE(ask(d, "$7RMV"), QByteArray("*QTXv2.05\r"));
        d.setVersion(QStringLiteral("QTXv2"));
        QCOMPARE(ask(d, "$7RMV"), QByteArray("*QTXv2\r"));
    }

    void everyParameterReadsInItsKind()
    {
        Qtx2Device d;
        const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
        const QRegularExpression real(QStringLiteral("^-?[0-9]+(\\.[0-9]*[1-9])?$"));
        const QRegularExpression hex(QStringLiteral("^(0|[1-9A-F][0-9A-F]{0,7})$"));
        for (const ParameterTable::Parameter &p : ParameterTable::parameters()) {
            const QByteArray reply = ask(d, "$0R" + p.code.toLatin1());
            QVERIFY2(reply.startsWith('*') && reply.endsWith('\r') && reply.count('\r') == 1, reply);
            const QString payload = QString::fromLatin1(reply.mid(1, reply.size() - 2));
            QCOMPARE(payload, d.value(p.code));
            switch (p.kind) {
            case ParameterTable::Kind::Integer:
                QVERIFY2(integer.match(payload).hasMatch(), qPrintable(p.code + payload));
                QVERIFY(payload.toDouble() >= p.min && payload.toDouble() <= p.max);
                break;
            case ParameterTable::Kind::Float:
                QVERIFY2(real.match(payload).hasMatch(), qPrintable(p.code + payload));
                QVERIFY(payload.toDouble() >= p.min && payload.toDouble() <= p.max);
                break;
            case ParameterTable::Kind::Hex:
                QVERIFY2(hex.match(payload).hasMatch(), qPrintable(p.code + payload));
                break;
            case ParameterTable::Kind::List: {
                bool found = false;
                for (const auto &c : p.choices)
                    found = found || c.token == payload;
                QVERIFY2(found, qPrintable(p.code + payload));
                break;
            }
            }
        }
    }

    void factoryValues_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("value");
        const QList<QPair<const char *, const char *>> rows{
            {"dP", "3"}, {"dU", "25"}, {"dZ", "NO"}, {"PU", "INCHES"}, {"PR", "0.0001968504"},
            {"PS", "1"}, {"PO", "0"}, {"Po", "0"}, {"PD", "POSITIVE"}, {"Xt", "SINGLE"},
            {"Xm", "1"}, {"Xg", "1"}, {"Xr", "1"}, {"PmA", "0"}, {"XT", "SSIBIN"}, {"XM", "1"},
            {"XB", "24"}, {"XE", "0"}, {"Xe", "FFFFFFFF"}, {"XG", "9"}, {"XH", "20"},
            {"Xb", "500K"}, {"XA", "OFF"}, {"Xp", "1"}, {"AV", "0-10V"}, {"AT", "FORCED"},
            {"AS", "0"}, {"AR", "10"}, {"AP", "0"}, {"Af", "0"}, {"AF", "0"}, {"L5A", "INSIDE"},
            {"L2S", "0"}, {"p8", "0"}, {"CS", "12345"}};
        for (const auto &r : rows)
            QTest::newRow(r.first) << QString::fromLatin1(r.first) << QString::fromLatin1(r.second);
    }
    void factoryValues()
    {
        QFETCH(QString, code);
        QFETCH(QString, value);
        Qtx2Device d;
        QCOMPARE(ask(d, "$0R" + code.toLatin1()), "*" + value.toLatin1() + "\r");
    }

    void writes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("after");
        QTest::newRow("int") << "dP" << "5" << QByteArray("*\r") << "5";
        QTest::newRow("int below") << "dP" << "0" << QByteArray("*ERR\r") << "3";
        QTest::newRow("int above") << "dP" << "6" << QByteArray("*ERR\r") << "3";
        QTest::newRow("int fraction") << "dP" << "2.5" << QByteArray("*ERR\r") << "3";
        QTest::newRow("int empty") << "dP" << "" << QByteArray("*ERR\r") << "3";
        QTest::newRow("int zero allowed") << "XH" << "0" << QByteArray("*\r") << "0";
        QTest::newRow("gap stops at 14") << "Xg" << "15" << QByteArray("*ERR\r") << "1";
        QTest::newRow("button 255") << "AE" << "255" << QByteArray("*\r") << "255";
        QTest::newRow("real") << "PS" << "2.5" << QByteArray("*\r") << "2.5";
        QTest::newRow("real zero scale") << "PS" << "0" << QByteArray("*ERR\r") << "1";
        QTest::newRow("real junk") << "PS" << "2.5x" << QByteArray("*ERR\r") << "1";
        QTest::newRow("real exponent") << "L5U" << "1e2" << QByteArray("*\r") << "100";
        QTest::newRow("real leading point") << "AP" << ".5" << QByteArray("*\r") << "0.5";
        QTest::newRow("percent above") << "AP" << "100.5" << QByteArray("*ERR\r") << "0";
        QTest::newRow("resolution max") << "PR" << "1.0" << QByteArray("*\r") << "1";
        QTest::newRow("resolution above") << "PR" << "1.01" << QByteArray("*ERR\r") << "0.0001968504";
        QTest::newRow("7 digits") << "AR" << "-1234.56789" << QByteArray("*\r") << "-1234.568";
        QTest::newRow("largest") << "p3" << "99999.99999" << QByteArray("*\r") << "100000";
        QTest::newRow("largest in 7 digits") << "p3" << "100000" << QByteArray("*\r") << "100000";
        QTest::newRow("too large") << "p3" << "100001" << QByteArray("*ERR\r") << "0";
        QTest::newRow("too small") << "p3" << "-100001" << QByteArray("*ERR\r") << "0";
        QTest::newRow("preset code then digits") << "p1" << "12.5" << QByteArray("*\r") << "12.5";
        QTest::newRow("offset A") << "PmA" << "-3.25" << QByteArray("*\r") << "-3.25";
        QTest::newRow("token") << "XT" << "STARTSTOP" << QByteArray("*\r") << "STARTSTOP";
        QTest::newRow("token case") << "XT" << "startstop" << QByteArray("*ERR\r") << "SSIBIN";
        QTest::newRow("display text is no token") << "XT" << "Start/Stop" << QByteArray("*ERR\r") << "SSIBIN";
        QTest::newRow("token with signs") << "AV" << "-2.5-7V" << QByteArray("*\r") << "-2.5-7V";
        QTest::newRow("hex lower") << "Xe" << "ff" << QByteArray("*\r") << "FF";
        QTest::newRow("hex leading zeros") << "XE" << "0000001A" << QByteArray("*\r") << "1A";
        QTest::newRow("hex nine digits") << "XE" << "123456789" << QByteArray("*ERR\r") << "0";
        QTest::newRow("hex junk") << "CS" << "XYZ" << QByteArray("*ERR\r") << "12345";
        QTest::newRow("hex top") << "CS" << "FFFFFFFF" << QByteArray("*\r") << "FFFFFFFF";
    }
    void writes()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(QByteArray, reply);
        QFETCH(QString, after);
        Qtx2Device d;
        unlock(d);
        QCOMPARE(ask(d, "$0S" + code.toLatin1() + text.toLatin1()), reply);
        QCOMPARE(ask(d, "$0R" + code.toLatin1()), "*" + after.toLatin1() + "\r");
    }

    void codesAreCaseSensitive()
    {
        Qtx2Device d;
        unlock(d);
        const QList<QPair<QByteArray, QByteArray>> writes{
            {"PO", "1.5"}, {"Po", "-2"}, {"XM", "3"}, {"Xm", "2"}, {"XE", "AB"}, {"Xe", "1"},
            {"XB", "16"}, {"Xb", "125K"}, {"XG", "4.5"}, {"Xg", "2"}, {"XT", "PWM"}, {"Xt", "GAP"},
            {"AA", "7"}, {"Aa", "8"}};
        for (const auto &w : writes)
            QCOMPARE(ask(d, "$0S" + w.first + w.second), QByteArray("*\r"));
        for (const auto &w : writes)
            QCOMPARE(ask(d, "$0R" + w.first), "*" + w.second + "\r");
    }

    void writeProtection()
    {
        Qtx2Device d;
        QVERIFY(d.writeProtected());
        QCOMPARE(ask(d, "$0SdP5"), QByteArray("*ERR WP\r"));
        QCOMPARE(ask(d, "$0SID3"), QByteArray("*ERR WP\r"));
        QCOMPARE(ask(d, "$0SFD"), QByteArray("*ERR WP\r"));
        QCOMPARE(d.value("dP"), QStringLiteral("3"));
        QCOMPARE(d.node(), 0);
        QCOMPARE(ask(d, "$0SZZ5"), QByteArray("*ERR CMD\r")); // unknown before protected
        unlock(d);
        QVERIFY(!d.writeProtected());
        QCOMPARE(ask(d, "$0SdP5"), QByteArray("*\r"));
        QCOMPARE(ask(d, "$0WP"), QByteArray("*\r"));
        QCOMPARE(ask(d, "$0SdP4"), QByteArray("*ERR WP\r"));
        QCOMPARE(d.value("dP"), QStringLiteral("5"));
    }

    void changeNode_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("node");
        QTest::newRow("3") << QByteArray("SID3") << QByteArray("*\r") << 3;
        QTest::newRow("9") << QByteArray("SID9") << QByteArray("*\r") << 9;
        QTest::newRow("0") << QByteArray("SID0") << QByteArray("*\r") << 0;
        QTest::newRow("10") << QByteArray("SID10") << QByteArray("*ERR\r") << 0;
        QTest::newRow("none") << QByteArray("SID") << QByteArray("*ERR\r") << 0;
        QTest::newRow("negative") << QByteArray("SID-1") << QByteArray("*ERR\r") << 0;
        QTest::newRow("letter") << QByteArray("SIDx") << QByteArray("*ERR\r") << 0;
    }
    void changeNode()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, node);
        Qtx2Device d;
        unlock(d);
        QCOMPARE(ask(d, "$0" + command), reply);
        QCOMPARE(d.node(), node);
        const QByteArray at = "$" + QByteArray::number(node);
        QCOMPARE(ask(d, at + "RMV"), QByteArray("*QTXv2.05\r"));
        QCOMPARE(ask(d, "$0RID"), "*" + QByteArray::number(node) + "\r");
        if (node != 0)
            QCOMPARE(ask(d, "$0RMV"), QByteArray());
    }

    void factoryResetRestoresEverything()
    {
        Qtx2Device fresh;
        Qtx2Device d;
        unlock(d);
        for (const char *w : {"SPUMM", "SdP5", "SXeF", "SXAGSERIES", "SPO12.5", "SPmF-3", "SL3A OUTSIDE",
                              "SL3AOUTSIDE", "Sp8100", "SXM4", "SPR0.01"})
            ask(d, QByteArray("$0") + w);
        QCOMPARE(d.value("PU"), QStringLiteral("MM"));
        QCOMPARE(ask(d, "$0SFD"), QByteArray("*\r"));
        for (const ParameterTable::Parameter &p : ParameterTable::parameters())
            QCOMPARE(d.value(p.code), fresh.value(p.code));
        QCOMPARE(d.node(), 0);
    }

    void noFactoryCommandStaysSilent()
    {
        Qtx2Device d;
        d.faults().noFactoryCommand = true;
        unlock(d);
        ask(d, "$0SdP5");
        QCOMPARE(ask(d, "$0RFD"), QByteArray());
        QCOMPARE(ask(d, "$0SFD"), QByteArray());
        QCOMPARE(d.value("dP"), QStringLiteral("5"));
        QCOMPARE(ask(d, "$0RMV"), QByteArray("*QTXv2.05\r"));
    }

    void unitChangeKeepsLengths_data()
    {
        QTest::addColumn<QByteArray>("unit");
        QTest::addColumn<QByteArray>("offset"); // PO, 1 inch
        QTest::addColumn<QByteArray>("gradient"); // XG, 9 inches
        QTest::newRow("inches") << QByteArray("INCHES") << QByteArray("1") << QByteArray("9");
        QTest::newRow("feet") << QByteArray("FEET") << QByteArray("0.08333333") << QByteArray("0.75");
        QTest::newRow("cm") << QByteArray("CM") << QByteArray("2.54") << QByteArray("22.86");
        QTest::newRow("mm") << QByteArray("MM") << QByteArray("25.4") << QByteArray("228.6");
        QTest::newRow("meters") << QByteArray("METERS") << QByteArray("0.0254") << QByteArray("0.2286");
    }
    void unitChangeKeepsLengths()
    {
        QFETCH(QByteArray, unit);
        QFETCH(QByteArray, offset);
        QFETCH(QByteArray, gradient);
        Qtx2Device d;
        unlock(d);
        QCOMPARE(ask(d, "$0SPO1"), QByteArray("*\r"));
        QCOMPARE(ask(d, "$0SPS2.5"), QByteArray("*\r"));
        QCOMPARE(ask(d, "$0SPU" + unit), QByteArray("*\r"));
        QCOMPARE(ask(d, "$0RPO"), "*" + offset + "\r");
        QCOMPARE(ask(d, "$0RXG"), "*" + gradient + "\r");
        QCOMPARE(ask(d, "$0RPS"), QByteArray("*2.5\r")); // no unit: never converted
        // A value written in this unit reads back unchanged, and in inches as its length.
        QCOMPARE(ask(d, "$0SAR" + gradient), QByteArray("*\r"));
        QCOMPARE(ask(d, "$0RAR"), "*" + gradient + "\r");
        ask(d, "$0SPUINCHES");
        QCOMPARE(ask(d, "$0RAR"), QByteArray("*9\r"));
    }

    void limitsApplyInInches()
    {
        Qtx2Device d;
        unlock(d);
        ask(d, "$0SPUMM");
        QCOMPARE(ask(d, "$0SPR25.4"), QByteArray("*\r")); // 1 inch
        QCOMPARE(ask(d, "$0SPR25.5"), QByteArray("*ERR\r"));
        ask(d, "$0SPUFEET");
        QCOMPARE(ask(d, "$0SXG0.0000008333333"), QByteArray("*\r")); // 0.00001 inch
        QCOMPARE(ask(d, "$0SXG0.0000008"), QByteArray("*ERR\r"));
        QCOMPARE(ask(d, "$0SAP100"), QByteArray("*\r")); // a percentage, no unit
    }

    void positions()
    {
        Qtx2Device d;
        unlock(d);
        ask(d, "$0SPR0.001");
        ask(d, "$0SXM2");
        d.probe().pin(1, 10.0);
        d.probe().pin(2, 13.5);
        QCOMPARE(ask(d, "$0RD"), QByteArray("*10.000\r"));
        QCOMPARE(ask(d, "$0Rd1"), QByteArray("*10.000\r"));
        QCOMPARE(ask(d, "$0Rd2"), QByteArray("*13.500\r"));
        QCOMPARE(ask(d, "$0Rd3"), QByteArray("*0NOMAG\r"));
        QCOMPARE(ask(d, "$0Rdf"), QByteArray("*0NOMAG\r"));
        QCOMPARE(ask(d, "$0RdF"), QByteArray("*ERR CMD\r")); // the digit is lower-case
        QCOMPARE(ask(d, "$0Rd0"), QByteArray("*ERR CMD\r"));
        QCOMPARE(ask(d, "$0RdP"), QByteArray("*3\r")); // decimal places, not a magnet

        ask(d, "$0SPUMM");
        ask(d, "$0SdP1");
        QCOMPARE(ask(d, "$0RD"), QByteArray("*254.0\r"));
        QCOMPARE(ask(d, "$0Rd2"), QByteArray("*342.9\r"));
        ask(d, "$0SPUINCHES");
        ask(d, "$0SdP2");
        ask(d, "$0SPS2");
        ask(d, "$0SPO1");
        ask(d, "$0SPm20.25");
        ask(d, "$0SPo-0.5");
        QCOMPARE(ask(d, "$0Rd1"), QByteArray("*21.00\r"));
        QCOMPARE(ask(d, "$0Rd2"), QByteArray("*28.25\r"));
        QCOMPARE(ask(d, "$0RD"), QByteArray("*20.50\r")); // the soft offset moves the display only
        ask(d, "$0SXtGAP");
        QCOMPARE(ask(d, "$0RD"), QByteArray("*6.75\r"));
        ask(d, "$0SXtRELATIVE");
        ask(d, "$0SXm2");
        QCOMPARE(ask(d, "$0RD"), QByteArray("*6.75\r"));
        ask(d, "$0SXtSINGLE");
        ask(d, "$0SPDNEGATIVE");
        QCOMPARE(ask(d, "$0Rd1"), QByteArray("*-19.00\r"));

        ask(d, "$0SXM1");
        QCOMPARE(ask(d, "$0RD"), QByteArray("*0NOMAG\r")); // shows magnet 2 of 1
        d.faults().noTransducer = true;
        QCOMPARE(ask(d, "$0RD"), QByteArray("*0NOXDCR\r"));
        QCOMPARE(ask(d, "$0Rd1"), QByteArray("*0NOXDCR\r"));
        QCOMPARE(ask(d, "$0Rd9"), QByteArray("*0NOXDCR\r"));
    }

    void magnetsMoveWithTheClock()
    {
        qint64 now = 0;
        Qtx2Device d;
        d.setClock([&now] { return now; });
        d.setValue("XM", "15");
        d.setValue("dP", "5");
        QStringList at0;
        for (const char *m : {"1", "2", "3", "9", "a", "f"})
            at0 << QString::fromLatin1(ask(d, QByteArray("$0Rd") + m));
        QCOMPARE(QSet<QString>(at0.begin(), at0.end()).size(), at0.size()); // distinct
        QCOMPARE(QString::fromLatin1(ask(d, "$0Rd1")), at0.first()); // time stands still
        now = 3000;
        QVERIFY(QString::fromLatin1(ask(d, "$0Rd1")) != at0.first());
        double previous = -1;
        for (int k = 1; k <= 15; ++k) { // in order along the probe, on a plausible probe
            const double v = ask(d, "$0Rd" + QByteArray::number(k, 16)).mid(1).toDouble();
            QVERIFY(v > previous && v < 60);
            previous = v;
        }
    }

    void faultFraming_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<bool>("lf");
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<QByteArray>("suffix");
        QTest::addColumn<bool>("silent");
        QTest::newRow("line feed") << QByteArray("$0RMV") << QByteArray("*QTXv2.05\r\n") << true
                                   << QByteArray() << QByteArray() << false;
        QTest::newRow("prefix") << QByteArray("$0RID") << QByteArray("\xff\x80*0\r") << false
                                << QByteArray("\xff\x80") << QByteArray() << false;
        QTest::newRow("suffix after lf") << QByteArray("$0WE") << QByteArray("*\r\n\x01zz") << true
                                         << QByteArray() << QByteArray("\x01zz") << false;
        QTest::newRow("silent") << QByteArray("$0RID") << QByteArray() << false << QByteArray()
                                << QByteArray() << true;
    }
    void faultFraming()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, out);
        QFETCH(bool, lf);
        QFETCH(QByteArray, prefix);
        QFETCH(QByteArray, suffix);
        QFETCH(bool, silent);
        Qtx2Device d;
        d.faults().lineFeed = lf;
        d.faults().garbagePrefix = prefix;
        d.faults().garbageSuffix = suffix;
        d.faults().silent = silent;
        QCOMPARE(ask(d, message), out);
    }

    void randomGarbageNeverEndsTheReply()
    {
        Qtx2Device d;
        FaultSettings f;
        f.randomGarbage = 64;
        d.setFaults(f);
        const QByteArray reply = ask(d, "$0RMV");
        QCOMPARE(reply.size(), 64 + 10);
        QVERIFY(reply.endsWith("*QTXv2.05\r"));
        QCOMPARE(reply.count('\r'), 1);
        QVERIFY(std::any_of(reply.begin(), reply.end(), [](char c) { return quint8(c) > 127; }));
        Qtx2Device same;
        same.setFaults(f);
        QCOMPARE(ask(same, "$0RMV"), reply); // seeded: repeatable
    }

    void answersAtAnotherNode()
    {
        Qtx2Device d(2);
        d.faults().answerAtNode = 4;
        QCOMPARE(ask(d, "$0RID"), QByteArray("*2\r"));
        QCOMPARE(ask(d, "$2RMV"), QByteArray());
        QCOMPARE(ask(d, "$4RMV"), QByteArray("*QTXv2.05\r"));
    }

    void replyTiming()
    {
        Qtx2Device d;
        d.faults().latencyMs = 150;
        d.faults().commandLatencyMs.insert("SFD", 3000);
        d.faults().commandLatencyMs.insert("Rd", 40);
        d.faults().commandLatencyMs.insert("RXM", 7);
        d.faults().chunkSize = 3;
        d.faults().chunkGapMs = 20;
        unlock(d);
        auto latency = [&d](const QByteArray &m) {
            const QList<Qtx2Device::Reply> r = d.feed(m + '\r');
            return r.size() == 1 ? r.first().latencyMs : -1;
        };
        QCOMPARE(latency("$0RMV"), 150);
        QCOMPARE(latency("$0SFD"), 3000);
        QCOMPARE(latency("$0Rd1"), 40);
        QCOMPARE(latency("$0RXM"), 7);
        QCOMPARE(latency("$0RXB"), 150);
        const QList<Qtx2Device::Reply> r = d.feed("$0RID\r");
        QCOMPARE(r.first().chunkSize, 3);
        QCOMPARE(r.first().chunkGapMs, 20);
        QVERIFY(!r.first().endless);
    }

    void endlessReplyHasNoEnd()
    {
        Qtx2Device d;
        d.faults().endlessReply = true;
        const QList<Qtx2Device::Reply> r = d.feed("$0RMV\r");
        QCOMPARE(r.size(), 1);
        QVERIFY(r.first().endless);
        QCOMPARE(r.first().bytes, QByteArray("*QTXv2.05"));
    }

    void cablePulledAfterMessages()
    {
        Qtx2Device d;
        d.faults().pullCableAfter = 2;
        QList<Qtx2Device::Reply> r = d.feed("$0RID\r");
        QCOMPARE(r.size(), 1);
        QVERIFY(!r.first().pullCableAfter);
        r = d.feed("$5RMV\r"); // not answered, still counted: the cable comes off after it
        QCOMPARE(r.size(), 1);
        QVERIFY(r.first().bytes.isEmpty());
        QVERIFY(r.first().pullCableAfter);
        QVERIFY(d.cablePulled());
        QCOMPARE(ask(d, "$0RMV"), QByteArray());
        QCOMPARE(d.messagesReceived(), 2);
        QCOMPARE(d.log(), QStringList({"$0RID", "$5RMV"}));
        d.plugCable();
        QCOMPARE(ask(d, "$0RMV"), QByteArray("*QTXv2.05\r"));
        QCOMPARE(d.repliesGiven(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
