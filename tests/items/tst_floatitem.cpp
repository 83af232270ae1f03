#include "FakeLink.h"

#include "items/FloatItem.h"
#include "items/LengthUnits.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class TestFloatItem : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_box.clear(); }

    void configured();
    void read_data();
    void read();
    void write_data();
    void write();
    void userSelectsUnit_data();
    void userSelectsUnit();
    void reselectingAndLeavingSelectorReformat();
    void plainNumbers();
    void equalLimitsKeepZeroLimits();
    void unitsFollowTheDevice();

private:
    FloatItem *makeItem(const QString &code, double lo, double hi, bool uflag)
    {
        auto *item = m_box.make<FloatItem>(&m_units);
        item->set_all(code, QStringLiteral("Hard Offset"), lo, hi, uflag);
        return item;
    }
    QLineEdit *field(FloatItem *item) { return item->findChild<QLineEdit *>("ValueText"); }
    QComboBox *selector(FloatItem *item) { return item->findChild<QComboBox *>("UnitsCombo"); }

    ItemSandbox m_box;
    LengthUnits m_units;
};

void TestFloatItem::init()
{
    m_box.reset();
    m_units = LengthUnits();
    m_units.fill_factors();
}

void TestFloatItem::configured()
{
    auto *bare = m_box.make<FloatItem>(&m_units);
    QCOMPARE(field(bare)->text(), QStringLiteral("0"));
    QVERIFY(!selector(bare)->isEditable());
    QVERIFY(!selector(bare)->isVisibleTo(bare));
    QCOMPARE(m_box.track->item_list(), QList<SetupItem *>{bare});

    FloatItem *length = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    QVERIFY(selector(length)->isVisibleTo(length));
    QCOMPARE(selector(length)->currentText(), QStringLiteral("Inches"));
    QCOMPARE(field(length)->text(), QStringLiteral("0.0000"));
    QVERIFY(length->unit_chosen());
}

void TestFloatItem::read_data()
{
    QTest::addColumn<double>("hi");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("command"); // "RPR" asks the device; empty offers a file line
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString device = QStringLiteral("RPR");
    QTest::newRow("MM 254 is 10 in") << 50.0 << 3 << device << "254" << "10.0000";
    QTest::newRow("limit test in inches: 1000 mm passes") << 50.0 << 3 << device << "1000" << "39.37008";
    QTest::newRow("limit test in inches: 2 m fails") << 50.0 << 4 << device << "2" << "0.5000";
    QTest::newRow("time-out text reads 0") << 50.0 << 3 << device << "TIMEOUT ERROR" << "0.0000";
    QTest::newRow("beyond every range") << 50.0 << 0 << device << "1E400" << "0.5000";
    // 0.00001 to 1 inch: a length at its limit, carried in single precision, is taken.
    QTest::newRow("lower limit in inches") << 1.0 << 0 << device << "0.00001" << "0.00001";
    QTest::newRow("lower limit in MM") << 1.0 << 3 << device << "0.000254" << "0.00001";
    QTest::newRow("upper limit in meters") << 1.0 << 4 << device << "0.0254" << "1.0000";
    QTest::newRow("just below the lower limit") << 1.0 << 0 << device << "0.0000099" << "0.5000";
    QTest::newRow("just above the upper limit") << 1.0 << 0 << device << "1.00001" << "0.5000";
    QTest::newRow("file: 1 inch in MM") << 1.0 << 3 << QString() << "PR25.4" << "1.0000";
    QTest::newRow("file: same line in CM is too long") << 1.0 << 2 << QString() << "PR25.4" << "0.5000";
    QTest::newRow("file: above 1 inch") << 1.0 << 3 << QString() << "PR26" << "0.5000";
    QTest::newRow("file: code only is zero") << 1.0 << 3 << QString() << "PR" << "0.5000";
    QTest::newRow("file: other case") << 1.0 << 3 << QString() << "Pr.1" << "0.5000";
    QTest::newRow("file: small") << 1.0 << 3 << QString() << "PR.0254" << "0.0010";
}

void TestFloatItem::read()
{
    QFETCH(double, hi);
    QFETCH(int, units);
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    FloatItem *item = makeItem(QStringLiteral("PR"), hi == 1.0 ? 0.00001 : -hi, hi, true);
    item->set_value(0.5);
    m_units.set_current_units(units);
    if (command.isEmpty()) {
        QSignalSpy spy(item, &SetupItem::changed);
        QCOMPARE(item->check_file_read(text), text.startsWith(QLatin1String("PR")));
        QCOMPARE(field(item)->text(), shown);
        QVERIFY(spy.count() >= 1);
        return;
    }
    m_box.link.replies.insert(command, text);
    item->ser_read();
    QCOMPARE(m_box.link.sent, QStringList{command});
    QCOMPARE(field(item)->text(), shown);
    m_box.link.fail = true; // a failed exchange shows nothing
    item->ser_read();
    QCOMPARE(field(item)->text(), shown);
    // Its own settings-file line brings the same value back.
    const QString line = item->make_file_write_str();
    item->set_value(0.5);
    QVERIFY(item->check_file_read(line));
    QCOMPARE(field(item)->text(), shown);
}

void TestFloatItem::write_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::newRow("10 in to MM") << 3 << "10.0000" << "SPO254" << "PO254";
    QTest::newRow("1 in to feet") << 1 << "1" << "SPO0.08333334" << "PO.08333334";
    QTest::newRow("typed, not limited, to CM") << 2 << "12.5abc" << "SPO31.75" << "PO31.75";
    QTest::newRow("negative half inch") << 0 << "-0.5" << "SPO-0.5" << "PO-.5";
    QTest::newRow("7 digits only") << 0 << "1.23456789" << "SPO1.234568" << "PO1.234568";
    QTest::newRow("large in single") << 3 << "1E6" << "SPO2.54E+07" << "PO2.54E+07";
}

void TestFloatItem::write()
{
    QFETCH(int, units);
    QFETCH(QString, typed);
    QFETCH(QString, command);
    QFETCH(QString, line);
    FloatItem *item = makeItem(QStringLiteral("PO"), -10, 10, true);
    m_units.set_current_units(units);
    QTest::keyClick(field(item), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(item), typed);
    item->ser_write();
    QCOMPARE(m_box.link.sent, (QStringList{QStringLiteral("WE"), command}));
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->make_file_write_str(), line);
}

void TestFloatItem::userSelectsUnit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("unit");
    QTest::newRow("CM") << "CM" << "2.5400" << 2;
    QTest::newRow("Feet") << "F" << "0.08333334" << 1;
    QTest::newRow("MM") << "M" << "25.4000" << 3;
}

void TestFloatItem::userSelectsUnit()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, unit);
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    item->set_value(1);
    QSignalSpy spy(item, &SetupItem::changed);
    QTest::keyClicks(selector(item), typed); // keyboard search picks the entry
    QCOMPARE(selector(item)->currentIndex(), unit);
    QCOMPARE(field(item)->text(), shown);
    QCOMPARE(item->display_unit(), unit);
    QCOMPARE(spy.count(), 1);
    item->ser_write(); // still one inch on the wire
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SPO1"));
    item->set_value_variant(2.0); // a default shows in the chosen unit
    QCOMPARE(item->make_file_write_str(), QStringLiteral("PO2"));
}

void TestFloatItem::reselectingAndLeavingSelectorReformat()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    QLineEdit *other = m_box.showBeside(item);
    QVERIFY(other);

    field(item)->setText(QStringLiteral("1.23456789"));
    QComboBox *combo = selector(item);
    combo->showPopup();
    QTRY_VERIFY_WITH_TIMEOUT(combo->view()->isVisible(), 10000);
    QTest::keyClick(combo->view(), Qt::Key_Return); // the entry already selected
    QTRY_COMPARE_WITH_TIMEOUT(field(item)->text(), QStringLiteral("1.234568"), 10000);

    field(item)->setText(QStringLiteral("2.123456789"));
    combo->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(combo->hasFocus(), 10000);
    other->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE_WITH_TIMEOUT(field(item)->text(), QStringLiteral("2.123457"), 10000);
    QCOMPARE(item->display_unit(), 0);
}

void TestFloatItem::plainNumbers()
{
    FloatItem *item = makeItem(QStringLiteral("PS"), 0.00001, 99999.99999, false);
    QVERIFY(!selector(item)->isVisibleTo(item));
    m_units.set_current_units(3); // ignored without units
    field(item)->setText(QStringLiteral("0.5"));
    item->ser_write();
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SPS0.5"));
    QCOMPARE(item->make_file_write_str(), QStringLiteral("PS.5"));
    field(item)->setText(QStringLiteral("0.123456789012345678"));
    QCOMPARE(item->make_file_write_str(), QStringLiteral("PS.123456789012346"));
    m_box.link.replies.insert(QStringLiteral("RPS"), QStringLiteral("12.5"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("12.5000"));
    m_box.link.replies.insert(QStringLiteral("RPS"), QStringLiteral("0")); // below 0.00001
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("12.5000"));
    item->reset_units(); // clears the flag only
    QVERIFY(!item->unit_chosen());
    QCOMPARE(field(item)->text(), QStringLiteral("12.5000"));
}

void TestFloatItem::equalLimitsKeepZeroLimits()
{
    FloatItem *item = makeItem(QStringLiteral("AP"), 2.5, 2.5, false);
    QCOMPARE(item->upper_limit(), 0.0);
    item->set_value(1);
    QVERIFY(item->check_file_read(QStringLiteral("AP1")));
    QCOMPARE(item->value_text(), QStringLiteral("0"));
    QVERIFY(item->check_file_read(QStringLiteral("AP0")));
    QCOMPARE(item->value_text(), QStringLiteral("0.0000"));
}

void TestFloatItem::unitsFollowTheDevice()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    item->reset_units(); // Inches already selected: unit chosen stays clear
    QVERIFY(!item->unit_chosen());
    // An arriving value is shown in current_units and brings the selector in step.
    m_units.set_current_units(3);
    m_box.link.replies.insert(QStringLiteral("RPO"), QStringLiteral("254"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("254.0000"));
    QCOMPARE(selector(item)->currentText(), QStringLiteral("MM"));
    item->ser_write(); // not 254 inches converted into MM
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SPO254"));

    item->set_value(1);
    m_units.set_current_units(2);
    item->reset_units();
    QCOMPARE(field(item)->text(), QStringLiteral("2.5400"));
    QCOMPARE(selector(item)->currentText(), QStringLiteral("CM"));
    QCOMPARE(item->display_unit(), 2);
    item->ser_write();
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SPO2.54"));

    m_units.set_current_units(-1); // the units list has no selection: inches
    m_box.link.replies.insert(QStringLiteral("RPO"), QStringLiteral("2"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("5.0800")); // 2 in, shown in CM
    item->reset_units();
    QCOMPARE(selector(item)->currentText(), QStringLiteral("Inches"));
    m_units.set_current_units(7);
    item->ser_write();
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SPO2"));
}

QTEST_MAIN(TestFloatItem)
#include "tst_floatitem.moc"
