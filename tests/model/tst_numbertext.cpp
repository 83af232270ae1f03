// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/LengthUnits.h"
#include "model/NumberText.h"

#include <QtTest>

#include <cfloat>
#include <cmath>

using namespace NumberText;

// Number texts and length units: the decisions under every setting, row by row. The
// fuzzer of number texts holds the general laws (forms read back, shapes, rounding).
class TestNumberText : public QObject
{
    Q_OBJECT
private slots:
    void leadingValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("time-out text") << "TIMEOUT ERROR" << 0.0;
        QTest::newRow("blank inside") << "1 2" << 12.0;
        QTest::newRow("trailing letters") << "7xyz" << 7.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("negative leading point") << "-.5" << -0.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("D exponent") << "1D3" << 1000.0;
        QTest::newRow("e negative exponent") << "1e-2" << 0.01;
        QTest::newRow("exponent without digits") << "1E" << 1.0;
        QTest::newRow("exponent alone") << "E5" << 0.0;
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0661\u0662") << 0.0;
        QTest::newRow("&H FFFF is positive") << "&HFFFF" << 65535.0;
        QTest::newRow("&H 32-bit all ones") << "&HFFFFFFFF" << -1.0;
        QTest::newRow("&H wider than 32 bits") << "&H123456789" << 0.0;
        QTest::newRow("&O") << "&O17" << 15.0;
        QTest::newRow("sign before &H") << "-&H10" << 0.0;
        QTest::newRow("beyond double range") << "1E400" << DBL_MAX;
        QTest::newRow("underflow") << "1E-400" << 0.0;
    }
    void leadingValues()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingValue(text), value);
    }

    void numberForms_data()
    {
        QTest::addColumn<bool>("single");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("file");
        QTest::newRow("half") << false << 0.5 << "0.5" << ".5";
        QTest::newRow("minus half") << false << -0.5 << "-0.5" << "-.5";
        QTest::newRow("whole") << false << 12.0 << "12" << "12";
        QTest::newRow("third, 15 digits") << false << 1.0 / 3.0 << "0.333333333333333" << ".333333333333333";
        QTest::newRow("1.5E15") << false << 1.5e15 << "1.5E+15" << "1.5E+15";
        QTest::newRow("largest double") << false << DBL_MAX << "1.79769313486232E+308" << "1.79769313486232E+308";
        QTest::newRow("smallest plain") << false << 0.00001 << "0.00001" << ".00001";
        QTest::newRow("below 1E-5") << false << 0.000001 << "1E-06" << "1E-06";
        QTest::newRow("limit value") << false << 99999.99999 << "99999.99999" << "99999.99999";
        QTest::newRow("single a twelfth") << true << 1.0 / 12.0 << "0.08333334" << ".08333334";
        QTest::newRow("single 8 digits") << true << 12345678.0 << "1.234568E+07" << "1.234568E+07";
        QTest::newRow("single 1E7") << true << 1e7 << "1E+07" << "1E+07";
        QTest::newRow("single limit") << true << 99999.99999 << "100000" << "100000";
    }
    void numberForms()
    {
        QFETCH(bool, single);
        QFETCH(double, value);
        QFETCH(QString, wire);
        QFETCH(QString, file);
        QCOMPARE(single ? wireSingle(float(value)) : wireDouble(value), wire);
        QCOMPARE(single ? fileSingle(float(value)) : fileDouble(value), file);
    }

    void displayForms_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << "double" << 0.0 << "0.0000";
        QTest::newRow("minus half") << "double" << -0.5 << "-0.5000";
        QTest::newRow("digits beyond the tenth shown") << "double" << 0.123456789012 << "0.123456789012";
        QTest::newRow("below tenth decimal") << "double" << 0.00000000004 << "0.00000000004";
        QTest::newRow("single: 1 inch in CM") << "single" << 2.54 << "2.5400";
        QTest::newRow("single: 1 inch in feet") << "single" << 1.0 / 12.0 << "0.08333334";
        QTest::newRow("single: limit") << "single" << 99999.99999 << "100000.0000";
        QTest::newRow("single: digits beyond the tenth shown") << "single" << 1.234567e-5 << "0.00001234567";
        QTest::newRow("position: trailing zero kept") << "position" << 12.3456 << "12.34560";
        QTest::newRow("percent: rounds to zero is empty") << "percent" << 0.4 << "";
        QTest::newRow("percent: half away from zero") << "percent" << 2.5 << "3";
    }
    void displayForms()
    {
        QFETCH(QString, form);
        QFETCH(double, value);
        QFETCH(QString, text);
        if (form == QLatin1String("double"))
            QCOMPARE(displayDouble(value), text);
        else if (form == QLatin1String("single"))
            QCOMPARE(displaySingle(float(value)), text);
        else if (form == QLatin1String("position"))
            QCOMPARE(displayPosition(float(value)), text);
        else
            QCOMPARE(percentText(value), text);
    }

    void hexValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint32>("value");
        QTest::newRow("blanks ignored") << " 1 2 " << true << 0x12;
        QTest::newRow("stops at non-hex") << "1G" << true << 1;
        QTest::newRow("FFFF positive") << "FFFF" << true << 0xFFFF;
        QTest::newRow("all ones") << "FFFFFFFF" << true << -1;
        QTest::newRow("leading zeros beyond eight") << "000000001F" << true << 0x1F;
        QTest::newRow("nine digits") << "123456789" << false << 0;
    }
    void hexValues()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint32, value);
        bool good = !ok;
        QCOMPARE(hexValue(text, &good), value);
        QCOMPARE(good, ok);
    }

    void lengthConversions_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("shown"); // displaySingle of the result
        QTest::newRow("254 mm is 10 in") << 254.0 << 3 << 0 << "10.0000";
        QTest::newRow("1 in in feet") << 1.0 << 0 << 1 << "0.08333334";
        QTest::newRow("0.0254 m is 1 in") << 0.0254 << 4 << 0 << "1.0000";
        QTest::newRow("same unit rounds to single") << 0.1 << 2 << 2 << "0.1000";
        QTest::newRow("unit 5 is inches") << 3.0 << 5 << 2 << "7.6200";
        QTest::newRow("negative unit is inches") << 3.0 << -1 << 0 << "3.0000";
        QTest::newRow("limit to meters") << 99999.99999 << 0 << 4 << "2540.0000";
    }
    void lengthConversions()
    {
        QFETCH(double, value);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, shown);
        QCOMPARE(displaySingle(LengthUnits().convert_length(value, from, to)), shown);
        // Beyond the single range the result stays finite.
        QCOMPARE(LengthUnits().convert_length(-1e300, 0, 0), -FLT_MAX);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
