#include "FakeLink.h"

#include "items/FloatItem.h"
#include "items/LengthUnits.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
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
    void checkFileRead_data();
    void checkFileRead();
    void resetUnits();
    void arrivingValueBringsSelectorInStep();
    void unitsOutsideTableAreInches();
    void lengthAtItsLimitIsTaken_data();
    void lengthAtItsLimitIsTaken();

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
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("MM 254 is 10 in") << 3 << "254" << "10.0000";
    QTest::newRow("meters 0.0254 is 1 in") << 4 << "0.0254" << "1.0000";
    QTest::newRow("limit test in inches: 1000 mm passes") << 3 << "1000" << "39.37008";
    QTest::newRow("limit test in inches: 2 m fails") << 4 << "2" << "7.0000";
    QTest::newRow("time-out text reads 0") << 3 << "TIMEOUT ERROR" << "0.0000";
    QTest::newRow("beyond every range") << 0 << "1E400" << "7.0000";
}

void TestFloatItem::read()
{
    QFETCH(int, units);
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    FloatItem *item = makeItem(QStringLiteral("PO"), -50, 50, true);
    item->set_value(7);
    m_units.set_current_units(units);
    m_box.link.replies.insert(QStringLiteral("RPO"), reply);
    item->ser_read();
    QCOMPARE(m_box.link.sent, QStringList{QStringLiteral("RPO")});
    QCOMPARE(field(item)->text(), shown);
    m_box.link.fail = true; // a failed exchange shows nothing
    item->ser_read();
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
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *item = new FloatItem(ItemContext{m_box.track, &m_box.link, &m_units}, &window);
    item->set_all(QStringLiteral("PO"), QStringLiteral("Hard Offset"), -99999.99999, 99999.99999, true);
    auto *other = new QLineEdit(&window);
    layout->addWidget(item);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

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

void TestFloatItem::checkFileRead_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("mine");
    QTest::addColumn<QString>("shown");
    // Resolution: 0.00001 to 1 inch.
    QTest::newRow("1 inch in MM") << 3 << "PR25.4" << true << "1.0000";
    QTest::newRow("same line in CM is too long") << 2 << "PR25.4" << true << "0.5000";
    QTest::newRow("above 1 inch") << 3 << "PR26" << true << "0.5000";
    QTest::newRow("code only is zero") << 3 << "PR" << true << "0.5000";
    QTest::newRow("other case") << 3 << "Pr.1" << false << "0.5000";
    QTest::newRow("small") << 3 << "PR.0254" << true << "0.0010";
}

void TestFloatItem::checkFileRead()
{
    QFETCH(int, units);
    QFETCH(QString, line);
    QFETCH(bool, mine);
    QFETCH(QString, shown);
    FloatItem *item = makeItem(QStringLiteral("PR"), 0.00001, 1.0, true);
    item->set_value(0.5);
    m_units.set_current_units(units);
    QSignalSpy spy(item, &SetupItem::changed);
    QCOMPARE(item->check_file_read(line), mine);
    QCOMPARE(field(item)->text(), shown);
    QVERIFY(spy.count() >= 1);
}

void TestFloatItem::resetUnits()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    item->set_value(1);
    m_units.set_current_units(2);
    item->reset_units();
    QCOMPARE(field(item)->text(), QStringLiteral("2.5400"));
    QCOMPARE(selector(item)->currentText(), QStringLiteral("CM"));
    QCOMPARE(item->display_unit(), 2);
    item->ser_write();
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SPO2.54"));
}

void TestFloatItem::arrivingValueBringsSelectorInStep()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    item->reset_units(); // Inches already selected: unit chosen stays clear
    QVERIFY(!item->unit_chosen());
    m_units.set_current_units(3);
    m_box.link.replies.insert(QStringLiteral("RPO"), QStringLiteral("254"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("254.0000")); // shown in current_units
    QCOMPARE(selector(item)->currentText(), QStringLiteral("MM"));
    item->ser_write(); // not 254 inches converted into MM
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SPO254"));
}

void TestFloatItem::unitsOutsideTableAreInches()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    m_units.set_current_units(2);
    item->reset_units();
    m_units.set_current_units(-1); // the units list has no selection
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

void TestFloatItem::lengthAtItsLimitIsTaken_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lower limit in inches") << 0 << "0.00001" << "0.00001";
    QTest::newRow("lower limit in MM") << 3 << "0.000254" << "0.00001";
    QTest::newRow("upper limit in meters") << 4 << "0.0254" << "1.0000";
    QTest::newRow("just below the lower limit") << 0 << "0.0000099" << "0.5000";
    QTest::newRow("just above the upper limit") << 0 << "1.00001" << "0.5000";
}

void TestFloatItem::lengthAtItsLimitIsTaken()
{
    QFETCH(int, units);
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    // Resolution: 0.00001 to 1 inch, carried in single precision.
    FloatItem *item = makeItem(QStringLiteral("PR"), 0.00001, 1.0, true);
    item->set_value(0.5);
    m_units.set_current_units(units);
    m_box.link.replies.insert(QStringLiteral("RPR"), reply);
    item->ser_read();
    QCOMPARE(field(item)->text(), shown);
    // Its own settings-file line brings the same value back.
    const QString line = item->make_file_write_str();
    item->set_value(0.5);
    QVERIFY(item->check_file_read(line));
    QCOMPARE(field(item)->text(), shown);
}
