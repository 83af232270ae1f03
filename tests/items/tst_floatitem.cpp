#include "FakeLink.h"

#include "items/FloatItem.h"
#include "items/LengthUnits.h"
#include "transfer/ItemTrack.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

class TestFloatItem : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void configured();
    void readInCurrentUnits_data();
    void readInCurrentUnits();
    void writeConvertsToCurrentUnits_data();
    void writeConvertsToCurrentUnits();
    void userSelectsUnit_data();
    void userSelectsUnit();
    void reselectingAndLeavingSelectorReformat();
    void plainNumbers();
    void equalLimitsKeepZeroLimits();
    void fileLineDependsOnCurrentUnits();
    void checkFileRead_data();
    void checkFileRead();
    void resetUnits();
    void arrivingValueBringsSelectorInStep();
    void unitsOutsideTableAreInches();
    void failedReadLeavesField();
    void typedTextIsWritten();
    void setValueInInches();
    void changedSignal();
    void enableLookCoversSelector();

private:
    FloatItem *makeItem(const QString &code, double lo, double hi, bool uflag);
    QLineEdit *field(FloatItem *item) { return item->findChild<QLineEdit *>("ValueText"); }
    QComboBox *selector(FloatItem *item) { return item->findChild<QComboBox *>("UnitsCombo"); }

    FakeLink m_link;
    LengthUnits m_units;
    ItemTrack *m_track = nullptr;
    QList<QWidget *> m_owned;
};

void TestFloatItem::init()
{
    m_link = FakeLink();
    m_units = LengthUnits();
    m_units.fill_factors();
    m_track = new ItemTrack;
}

void TestFloatItem::cleanup()
{
    qDeleteAll(m_owned);
    m_owned.clear();
    delete m_track;
    m_track = nullptr;
}

FloatItem *TestFloatItem::makeItem(const QString &code, double lo, double hi, bool uflag)
{
    auto *item = new FloatItem(ItemContext{m_track, &m_link, &m_units});
    item->set_all(code, QStringLiteral("Hard Offset"), lo, hi, uflag);
    m_owned.append(item);
    return item;
}

void TestFloatItem::configured()
{
    auto *bare = new FloatItem(ItemContext{m_track, &m_link, &m_units});
    m_owned.append(bare);
    QCOMPARE(field(bare)->text(), QStringLiteral("0"));
    QCOMPARE(selector(bare)->count(), 5);
    QVERIFY(!selector(bare)->isEditable());
    QVERIFY(!selector(bare)->isVisibleTo(bare));
    QCOMPARE(m_track->item_list(), QList<SetupItem *>{bare});

    FloatItem *length = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    QVERIFY(selector(length)->isVisibleTo(length));
    QCOMPARE(selector(length)->currentText(), QStringLiteral("Inches"));
    QCOMPARE(field(length)->text(), QStringLiteral("0.0000"));
    QCOMPARE(length->display_unit(), 0);
    QVERIFY(length->unit_chosen());

    FloatItem *plain = makeItem(QStringLiteral("PS"), 0.00001, 99999.99999, false);
    QVERIFY(!selector(plain)->isVisibleTo(plain));
    QCOMPARE(field(plain)->text(), QStringLiteral("0"));
    QCOMPARE(field(plain)->toolTip(), QStringLiteral("PS"));
}

void TestFloatItem::readInCurrentUnits_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("MM 254 is 10 in") << 3 << "254" << "10.0000";
    QTest::newRow("meters 0.0254 is 1 in") << 4 << "0.0254" << "1.0000";
    QTest::newRow("feet") << 1 << "1" << "12.0000";
    QTest::newRow("CM") << 2 << "2.54" << "1.0000";
    QTest::newRow("inches negative") << 0 << "-3.5" << "-3.5000";
    QTest::newRow("limit test in inches: 1000 mm passes") << 3 << "1000" << "39.37008";
    QTest::newRow("limit test in inches: 2 m fails") << 4 << "2" << "7.0000";
    QTest::newRow("time-out text reads 0") << 3 << "TIMEOUT ERROR" << "0.0000";
    QTest::newRow("beyond every range") << 0 << "1E400" << "7.0000";
}

void TestFloatItem::readInCurrentUnits()
{
    QFETCH(int, units);
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    FloatItem *item = makeItem(QStringLiteral("PO"), -50, 50, true);
    item->set_value(7);
    m_units.set_current_units(units);
    m_link.replies.insert(QStringLiteral("RPO"), reply);
    item->ser_read();
    QCOMPARE(m_link.sent, QStringList{QStringLiteral("RPO")});
    QCOMPARE(m_link.indicateErrors, QList<bool>{false});
    QCOMPARE(field(item)->text(), shown);
    QCOMPARE(item->display_unit(), 0);
}

void TestFloatItem::writeConvertsToCurrentUnits_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::newRow("10 in to MM") << 3 << "10.0000" << "SPO254" << "PO254";
    QTest::newRow("1 in to feet") << 1 << "1" << "SPO0.08333334" << "PO.08333334";
    QTest::newRow("1 in to meters") << 4 << "1" << "SPO0.0254" << "PO.0254";
    QTest::newRow("negative half inch") << 0 << "-0.5" << "SPO-0.5" << "PO-.5";
    QTest::newRow("outside limits still written") << 0 << "1E6" << "SPO1000000" << "PO1000000";
    QTest::newRow("7 digits only") << 0 << "1.23456789" << "SPO1.234568" << "PO1.234568";
    QTest::newRow("large in single") << 3 << "1E6" << "SPO2.54E+07" << "PO2.54E+07";
}

void TestFloatItem::writeConvertsToCurrentUnits()
{
    QFETCH(int, units);
    QFETCH(QString, text);
    QFETCH(QString, command);
    QFETCH(QString, line);
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    m_units.set_current_units(units);
    field(item)->setText(text);
    item->ser_write();
    QCOMPARE(m_link.sent, (QStringList{QStringLiteral("WE"), command}));
    QCOMPARE(item->make_file_write_str(), line);
}

void TestFloatItem::userSelectsUnit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("unit");
    QTest::newRow("CM") << "CM" << "2.5400" << 2;
    QTest::newRow("Feet") << "F" << "0.08333334" << 1;
    QTest::newRow("MM") << "MM" << "25.4000" << 3;
    QTest::newRow("Meters") << "Me" << "0.0254" << 4;
}

void TestFloatItem::userSelectsUnit()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, unit);
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    item->set_value(1);
    QCOMPARE(field(item)->text(), QStringLiteral("1.0000"));
    QTest::keyClicks(selector(item), typed); // keyboard search picks the entry
    QCOMPARE(selector(item)->currentIndex(), unit);
    QCOMPARE(field(item)->text(), shown);
    QCOMPARE(item->display_unit(), unit);
    // The value is still one inch: in inches on the wire.
    item->ser_write();
    QCOMPARE(m_link.sent.last(), QStringLiteral("SPO1"));
}

void TestFloatItem::reselectingAndLeavingSelectorReformat()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *item = new FloatItem(ItemContext{m_track, &m_link, &m_units}, &window);
    item->set_all(QStringLiteral("PO"), QStringLiteral("Hard Offset"), -99999.99999, 99999.99999, true);
    auto *other = new QLineEdit(&window);
    layout->addWidget(item);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Choosing the entry that is already selected re-rounds and re-formats.
    field(item)->setText(QStringLiteral("1.23456789"));
    QComboBox *combo = selector(item);
    combo->showPopup();
    QTRY_VERIFY_WITH_TIMEOUT(combo->view()->isVisible(), 10000);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(field(item)->text(), QStringLiteral("1.234568"), 10000);

    // Leaving the selector does the same.
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
    m_units.set_current_units(3); // ignored without units
    field(item)->setText(QStringLiteral("0.5"));
    item->ser_write();
    QCOMPARE(m_link.sent.last(), QStringLiteral("SPS0.5"));
    QCOMPARE(item->make_file_write_str(), QStringLiteral("PS.5"));
    field(item)->setText(QStringLiteral("0.123456789012345678"));
    QCOMPARE(item->make_file_write_str(), QStringLiteral("PS.123456789012346"));

    m_link.replies.insert(QStringLiteral("RPS"), QStringLiteral("12.5"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("12.5000"));
    m_link.replies.insert(QStringLiteral("RPS"), QStringLiteral("0"));
    item->ser_read(); // below the lower limit 0.00001
    QCOMPARE(field(item)->text(), QStringLiteral("12.5000"));
    m_link.replies.insert(QStringLiteral("RPS"), QStringLiteral("0.00001"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("0.00001"));
}

void TestFloatItem::equalLimitsKeepZeroLimits()
{
    auto *item = new FloatItem(ItemContext{m_track, &m_link, &m_units});
    m_owned.append(item);
    item->set_all(QStringLiteral("AP"), QStringLiteral("Force Percentage"), 2.5, 2.5, false);
    QCOMPARE(item->lower_limit(), 0.0);
    QCOMPARE(item->upper_limit(), 0.0);
    item->set_value(1);
    QCOMPARE(item->value_text(), QStringLiteral("0"));
    QVERIFY(item->check_file_read(QStringLiteral("AP1")));
    QCOMPARE(item->value_text(), QStringLiteral("0"));
    QVERIFY(item->check_file_read(QStringLiteral("AP0")));
    QCOMPARE(item->value_text(), QStringLiteral("0.0000"));
    item->set_limits(0, 100);
    item->set_limits(50, 10);
    QCOMPARE(item->upper_limit(), 100.0);
}

void TestFloatItem::fileLineDependsOnCurrentUnits()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    m_units.set_current_units(3);
    QVERIFY(item->check_file_read(QStringLiteral("PO254")));
    QCOMPARE(field(item)->text(), QStringLiteral("10.0000"));
    m_units.set_current_units(2);
    QVERIFY(item->check_file_read(QStringLiteral("PO254")));
    QCOMPARE(field(item)->text(), QStringLiteral("100.0000"));
}

void TestFloatItem::checkFileRead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("mine");
    QTest::addColumn<QString>("shown");
    // Resolution: 0.00001 to 1 inch, the file in MM.
    QTest::newRow("1 inch") << "PR25.4" << true << "1.0000";
    QTest::newRow("above 1 inch") << "PR26" << true << "0.5000";
    QTest::newRow("zero below limit") << "PR0" << true << "0.5000";
    QTest::newRow("code only is zero") << "PR" << true << "0.5000";
    QTest::newRow("other case") << "Pr1" << false << "0.5000";
    QTest::newRow("prefix of code") << "P" << false << "0.5000";
    QTest::newRow("small") << "PR.0254" << true << "0.0010";
}

void TestFloatItem::checkFileRead()
{
    QFETCH(QString, line);
    QFETCH(bool, mine);
    QFETCH(QString, shown);
    FloatItem *item = makeItem(QStringLiteral("PR"), 0.00001, 1.0, true);
    item->set_value(0.5);
    m_units.set_current_units(3);
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
    QCOMPARE(m_link.sent.last(), QStringLiteral("SPO2.54"));

    // Without units: only the flag is cleared.
    FloatItem *plain = makeItem(QStringLiteral("PS"), 0.00001, 99999.99999, false);
    plain->set_value(1);
    plain->reset_units();
    QVERIFY(!plain->unit_chosen());
    QCOMPARE(plain->value_text(), QStringLiteral("1.0000"));
    QVERIFY(!selector(plain)->isVisibleTo(plain));
}

void TestFloatItem::arrivingValueBringsSelectorInStep()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    item->reset_units(); // current_units 0 already selected: unit chosen stays clear
    QVERIFY(!item->unit_chosen());
    m_units.set_current_units(3);
    m_link.replies.insert(QStringLiteral("RPO"), QStringLiteral("254"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("254.0000")); // shown in current_units
    QCOMPARE(selector(item)->currentText(), QStringLiteral("MM"));
    QCOMPARE(item->display_unit(), 3);
    item->ser_write();
    QCOMPARE(m_link.sent.last(), QStringLiteral("SPO254"));
    QCOMPARE(item->make_file_write_str(), QStringLiteral("PO254"));
}

void TestFloatItem::unitsOutsideTableAreInches()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    m_units.set_current_units(2);
    item->reset_units();
    m_units.set_current_units(-1); // the units list has no selection
    m_link.replies.insert(QStringLiteral("RPO"), QStringLiteral("2"));
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("5.0800")); // 2 in, shown in CM
    item->reset_units();
    QCOMPARE(selector(item)->currentText(), QStringLiteral("Inches"));
    QCOMPARE(field(item)->text(), QStringLiteral("2.0000"));
    m_units.set_current_units(7);
    item->ser_write();
    QCOMPARE(m_link.sent.last(), QStringLiteral("SPO2"));
}

void TestFloatItem::failedReadLeavesField()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
    item->set_value(3);
    m_link.fail = true;
    item->ser_read();
    QCOMPARE(field(item)->text(), QStringLiteral("3.0000"));
}

void TestFloatItem::typedTextIsWritten()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -10, 10, true);
    m_units.set_current_units(2);
    QTest::keyClick(field(item), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(item), QStringLiteral("12.5abc"));
    QCOMPARE(field(item)->text(), QStringLiteral("12.5abc"));
    item->ser_write(); // typed inches, not limited, converted into CM
    QCOMPARE(m_link.sent.last(), QStringLiteral("SPO31.75"));
}

void TestFloatItem::setValueInInches()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -10, 10, true);
    item->set_value(11);
    QCOMPARE(field(item)->text(), QStringLiteral("0.0000"));
    item->set_value(-10);
    QCOMPARE(field(item)->text(), QStringLiteral("-10.0000"));
    QTest::keyClicks(selector(item), QStringLiteral("MM"));
    item->set_value_variant(2.0); // shown in the unit the user chose
    QCOMPARE(field(item)->text(), QStringLiteral("50.8000"));
}

void TestFloatItem::changedSignal()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -10, 10, true);
    item->set_value(1);
    QSignalSpy spy(item, &SetupItem::changed);
    QTest::keyClicks(selector(item), QStringLiteral("CM"));
    QCOMPARE(spy.count(), 1);
    item->check_file_read(QStringLiteral("XX1"));
    QCOMPARE(spy.count(), 2);
    item->check_file_read(QStringLiteral("PO2"));
    QCOMPARE(spy.count(), 4); // the new text, then the offered line
}

void TestFloatItem::enableLookCoversSelector()
{
    FloatItem *item = makeItem(QStringLiteral("PO"), -10, 10, true);
    QComboBox *combo = selector(item);
    const QColor grey = combo->palette().color(QPalette::Disabled, QPalette::ButtonText);
    item->enable(false);
    QCOMPARE(combo->palette().color(QPalette::Active, QPalette::ButtonText), grey);
    QCOMPARE(item->findChild<QLabel *>("TitleLabel")->palette().color(QPalette::Active, QPalette::WindowText),
             item->findChild<QLabel *>("TitleLabel")->palette().color(QPalette::Disabled, QPalette::WindowText));
    QVERIFY(combo->isEnabled());
    QTest::keyClicks(combo, QStringLiteral("CM"));
    QCOMPARE(combo->currentText(), QStringLiteral("CM"));
    item->enable(true);
    QVERIFY(item->is_enabled_look());
    QVERIFY(combo->palette().color(QPalette::Active, QPalette::ButtonText) != grey);
}

QTEST_MAIN(TestFloatItem)
#include "tst_floatitem.moc"
