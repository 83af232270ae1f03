#include "model/LengthUnits.h"
#include "model/NumberText.h"

#include <QtTest>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace NumberText;

// Number texts and length units: the pure arithmetic under every item.
class TestNumberText : public QObject
{
    Q_OBJECT
private slots:

    void leadingValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("time-out text") << "TIMEOUT ERROR" << 0.0;
        QTest::newRow("integer") << "12" << 12.0;
        QTest::newRow("decimal") << "12.5" << 12.5;
        QTest::newRow("blank inside") << "1 2" << 12.0;
        QTest::newRow("trailing letters") << "7xyz" << 7.0;
        QTest::newRow("minus") << "-3" << -3.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("negative leading point") << "-.5" << -0.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("D exponent") << "1D3" << 1000.0;
        QTest::newRow("e negative exponent") << "1e-2" << 0.01;
        QTest::newRow("E positive exponent") << "1.5E+2" << 150.0;
        QTest::newRow("exponent without digits") << "1E" << 1.0;
        QTest::newRow("exponent alone") << "E5" << 0.0;
        QTest::newRow("BASIC exponent form") << "1.5E+15" << 1.5e15;
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0661\u0662") << 0.0;
        QTest::newRow("&H") << "&H10" << 16.0;
        QTest::newRow("&H FFFF is positive") << "&HFFFF" << 65535.0;
        QTest::newRow("&H 8000 is positive") << "&H8000" << 32768.0;
        QTest::newRow("&H 32-bit all ones") << "&HFFFFFFFF" << -1.0;
        QTest::newRow("&H 32-bit sign bit") << "&H80000000" << -2147483648.0;
        QTest::newRow("&H padded FFFF") << "&H0000FFFF" << 65535.0;
        QTest::newRow("&H wider than 32 bits") << "&H123456789" << 0.0;
        QTest::newRow("&O") << "&O17" << 15.0;
        QTest::newRow("&O 32-bit all ones") << "&O37777777777" << -1.0;
        QTest::newRow("sign before &H") << "-&H10" << 0.0;
        QTest::newRow("beyond double range") << "1E400" << DBL_MAX;
        QTest::newRow("underflow") << "1E-400" << 0.0;
    }

    void leadingValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        const double v = leading_value(text);
        QVERIFY(std::isfinite(v));
        QCOMPARE(v, value);
    }

    void roundInt16_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("result");
        QTest::newRow("half down to even") << 12.5 << true << 12;
        QTest::newRow("half up to even") << 13.5 << true << 14;
        QTest::newRow("minus one half") << -0.5 << true << 0;
        QTest::newRow("top") << 32767.4 << true << 32767;
        QTest::newRow("top half rounds out") << 32767.5 << false << 0;
        QTest::newRow("bottom half rounds in") << -32768.5 << true << -32768;
        QTest::newRow("below bottom") << -32769.0 << false << 0;
    }

    void roundInt16()
    {
        QFETCH(double, value);
        QFETCH(bool, ok);
        QFETCH(int, result);
        bool good = !ok;
        QCOMPARE(int(round_int16(value, &good)), result);
        QCOMPARE(good, ok);
    }

    void numberForms_data()
    {
        QTest::addColumn<bool>("single");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("file");
        QTest::newRow("zero") << false << 0.0 << "0" << "0";
        QTest::newRow("half") << false << 0.5 << "0.5" << ".5";
        QTest::newRow("minus half") << false << -0.5 << "-0.5" << "-.5";
        QTest::newRow("whole") << false << 12.0 << "12" << "12";
        QTest::newRow("twelve and a half") << false << 12.5 << "12.5" << "12.5";
        QTest::newRow("third, 15 digits") << false << 1.0 / 3.0 << "0.333333333333333" << ".333333333333333";
        QTest::newRow("15 digit integer") << false << 123456789012345.0 << "123456789012345" << "123456789012345";
        QTest::newRow("1E15") << false << 1e15 << "1E+15" << "1E+15";
        QTest::newRow("1.5E15") << false << 1.5e15 << "1.5E+15" << "1.5E+15";
        QTest::newRow("largest double") << false << DBL_MAX << "1.79769313486232E+308" << "1.79769313486232E+308";
        QTest::newRow("smallest plain") << false << 0.00001 << "0.00001" << ".00001";
        QTest::newRow("below 1E-5") << false << 0.000001 << "1E-06" << "1E-06";
        QTest::newRow("limit value") << false << 99999.99999 << "99999.99999" << "99999.99999";
        QTest::newRow("single 2.54") << true << 2.54 << "2.54" << "2.54";
        QTest::newRow("single a twelfth") << true << 1.0 / 12.0 << "0.08333334" << ".08333334";
        QTest::newRow("single minus half") << true << -0.5 << "-0.5" << "-.5";
        QTest::newRow("single 8 digits") << true << 12345678.0 << "1.234568E+07" << "1.234568E+07";
        QTest::newRow("single 1E7") << true << 1e7 << "1E+07" << "1E+07";
        QTest::newRow("single smallest limit") << true << 0.00001 << "0.00001" << ".00001";
        QTest::newRow("single limit") << true << 99999.99999 << "100000" << "100000";
    }

    void numberForms()
    {
        QFETCH(bool, single);
        QFETCH(double, value);
        QFETCH(QString, wire);
        QFETCH(QString, file);
        QCOMPARE(single ? wire_single(float(value)) : wire_double(value), wire);
        QCOMPARE(single ? file_single(float(value)) : file_double(value), file);
    }

    void formsReadBack()
    {
        // Whatever is written must read back as the same number (to 15 or 7 digits).
        const double doubles[] = {0.5, -0.5, 1.0 / 3.0, 12345.6789, 1e-6, -3.25e-9, 1.5e15, 7e200, 99999.99999};
        for (double d : doubles) {
            const double back = leading_value(file_double(d));
            QVERIFY2(std::abs(back - d) <= std::abs(d) * 1e-14, qPrintable(file_double(d)));
            QCOMPARE(leading_value(wire_double(d)), back);
        }
        const float singles[] = {2.54f, float(1.0 / 12.0), 0.0254f, 123456.7f, 3e-7f, -1e20f};
        for (float f : singles) {
            QCOMPARE(float(leading_value(file_single(f))), f);
            QCOMPARE(float(leading_value(wire_single(f))), f);
        }
    }

    void displayForms_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << "double" << 0.0 << "0.0000";
        QTest::newRow("twelve and a half") << "double" << 12.5 << "12.5000";
        QTest::newRow("minus half") << "double" << -0.5 << "-0.5000";
        QTest::newRow("ten decimals") << "double" << 0.0000000001 << "0.0000000001";
        QTest::newRow("rounded at tenth, trailing zero dropped") << "double" << 0.123456789012 << "0.123456789";
        QTest::newRow("below tenth decimal") << "double" << 0.00000000004 << "0.0000";
        QTest::newRow("limit") << "double" << 99999.99999 << "99999.99999";
        QTest::newRow("single: 1 inch in CM") << "single" << 2.54 << "2.5400";
        QTest::newRow("single: 1 inch in feet") << "single" << 1.0 / 12.0 << "0.08333334";
        QTest::newRow("single: limit") << "single" << 99999.99999 << "100000.0000";
        QTest::newRow("single: rounded at tenth decimal") << "single" << 1.234567e-5 << "0.0000123457";
        QTest::newRow("position: zero") << "position" << 0.0 << "0.00000";
        QTest::newRow("position: trailing zero kept") << "position" << 12.3456 << "12.34560";
        QTest::newRow("position: below fifth decimal") << "position" << 0.000004 << "0.00000";
        QTest::newRow("percent: zero is empty") << "percent" << 0.0 << "";
        QTest::newRow("percent: rounds to zero") << "percent" << 0.4 << "";
        QTest::newRow("percent: half away from zero") << "percent" << 0.5 << "1";
        QTest::newRow("percent: 2.5") << "percent" << 2.5 << "3";
    }

    void displayForms()
    {
        QFETCH(QString, form);
        QFETCH(double, value);
        QFETCH(QString, text);
        if (form == QLatin1String("double"))
            QCOMPARE(display_double(value), text);
        else if (form == QLatin1String("single"))
            QCOMPARE(display_single(float(value)), text);
        else if (form == QLatin1String("position"))
            QCOMPARE(display_position(float(value)), text);
        else
            QCOMPARE(percent_text(value), text);
    }

    void hexValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("padded"); // of the value; the unpadded text travels and must read back
        QTest::newRow("empty") << "" << true << 0 << "00000000";
        QTest::newRow("1F") << "1F" << true << 0x1F << "0000001F";
        QTest::newRow("blanks ignored") << " 1 2 " << true << 0x12 << "00000012";
        QTest::newRow("stops at non-hex") << "1G" << true << 1 << "00000001";
        QTest::newRow("time-out text") << "TIMEOUT ERROR" << true << 0 << "00000000";
        QTest::newRow("FFFF positive") << "FFFF" << true << 0xFFFF << "0000FFFF";
        QTest::newRow("8000 positive") << "8000" << true << 0x8000 << "00008000";
        QTest::newRow("all ones") << "FFFFFFFF" << true << -1 << "FFFFFFFF";
        QTest::newRow("sign bit") << "80000000" << true << std::numeric_limits<qint32>::min() << "80000000";
        QTest::newRow("leading zeros beyond eight") << "000000001F" << true << 0x1F << "0000001F";
        QTest::newRow("nine digits") << "123456789" << false << 0 << "00000000";
    }

    void hexValue()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint32, value);
        QFETCH(QString, padded);
        bool good = !ok;
        QCOMPARE(hex_value(text, &good), value);
        QCOMPARE(good, ok);
        QCOMPARE(padded_hex_text(value), padded);
        QString plain = padded;
        while (plain.size() > 1 && plain.startsWith(QLatin1Char('0')))
            plain.remove(0, 1);
        QCOMPARE(hex_text(value), plain);
        QCOMPARE(hex_value(hex_text(value)), value);
    }

    void lengthConversions_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("shown"); // display_single of the result
        QTest::newRow("254 mm is 10 in") << 254.0 << 3 << 0 << "10.0000";
        QTest::newRow("10 in is 254 mm") << 10.0 << 0 << 3 << "254.0000";
        QTest::newRow("1 in in CM") << 1.0 << 0 << 2 << "2.5400";
        QTest::newRow("1 in in feet") << 1.0 << 0 << 1 << "0.08333334";
        QTest::newRow("0.0254 m is 1 in") << 0.0254 << 4 << 0 << "1.0000";
        QTest::newRow("same unit rounds to single") << 0.1 << 2 << 2 << "0.1000";
        QTest::newRow("unit 5 is inches") << 3.0 << 5 << 2 << "7.6200";
        QTest::newRow("negative unit is inches") << 3.0 << -1 << 0 << "3.0000";
        QTest::newRow("limit to meters") << 99999.99999 << 0 << 4 << "2540.0000";
        QTest::newRow("unit 5 has no factor") << 3.0 << 0 << 5 << "3.0000";
    }

    void lengthConversions()
    {
        QFETCH(double, value);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, shown);
        QCOMPARE(display_single(LengthUnits().convert_length(value, from, to)), shown);
    }

    void lengthEdges()
    {
        QCOMPARE(LengthUnits::selectorTexts(), QStringList({"Inches", "Feet", "CM", "MM", "Meters"}));
        LengthUnits u;
        // Beyond the single range the result stays finite.
        QVERIFY(std::isfinite(u.convert_length(1e300, 0, 3)));
        QCOMPARE(u.convert_length(-1e300, 0, 0), -FLT_MAX);
    }

};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
