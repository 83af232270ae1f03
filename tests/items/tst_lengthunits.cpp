#include "items/LengthUnits.h"
#include "items/NumberText.h"

#include <QtTest>

#include <cfloat>
#include <cmath>

class TestLengthUnits : public QObject
{
    Q_OBJECT
private slots:
    void conversions_data();
    void conversions();
    void unfilledTableConvertsNothing();
};

void TestLengthUnits::conversions_data()
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

void TestLengthUnits::conversions()
{
    QFETCH(double, value);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, shown);
    LengthUnits u;
    u.fill_factors();
    QCOMPARE(NumberText::display_single(u.convert_length(value, from, to)), shown);
}

void TestLengthUnits::unfilledTableConvertsNothing()
{
    QCOMPARE(LengthUnits::selectorTexts(), QStringList({"Inches", "Feet", "CM", "MM", "Meters"}));
    LengthUnits u; // factors still 0: no division by zero, the value is kept
    QCOMPARE(u.convert_length(2.5, 3, 1), 2.5f);
    u.fill_factors();
    // Beyond the single range the result stays finite.
    QVERIFY(std::isfinite(u.convert_length(1e300, 0, 3)));
    QCOMPARE(u.convert_length(-1e300, 0, 0), -FLT_MAX);
}

QTEST_GUILESS_MAIN(TestLengthUnits)
#include "tst_lengthunits.moc"
