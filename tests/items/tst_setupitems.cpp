#include "FakeLink.h"

#include "items/FloatItem.h"
#include "items/HexItem.h"
#include "items/IntegerItem.h"
#include "model/LengthUnits.h"
#include "items/ListItem.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

// Integer, hex, list and float items: the same wire and file paths, told apart by a kind column.
class TestSetupItems : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_box.reset();
        m_units = LengthUnits();
        m_units.fill_factors();
    }
    void cleanup() { m_box.clear(); }

    void controlsAndRegistration();
    void read_data();
    void read();
    void write_data();
    void write();
    void checkFileRead_data();
    void checkFileRead();
    void integerPrefixCodeFirstItemWins();
    void integerLimitsRejected();
    void integerSpinArrowsStepWithinLimits();
    void integerChangedSignal();
    void integerEnableLookOnly();
    void hexFocusOutNormalises_data();
    void hexFocusOutNormalises();
    void hexLimitsStoredOnly();
    void listAdditionAndDefaults();
    void listWriteAndNothingSelected();
    void listDuplicateTokensLowerIndexWins();
    void listSignalsInOrder();
    void listLeavingCountsAsChange();
    void floatUserSelectsUnit_data();
    void floatUserSelectsUnit();
    void floatReselectingAndLeavingSelectorReformat();
    void floatUnitsFollowTheDevice();

private:
    // "int": dP, limits -5..20; "hex": Xe; "list": dZ with Yes/No; "float": PO, -10..10 inches;
    // "offset": PR, -50..50 inches; "length": PR, 0.00001..1 inch; "plain": PS, no units.
    SetupItem *make(const QString &kind)
    {
        if (kind == QLatin1String("float"))
            return floatItem(QStringLiteral("PO"), -10, 10, true);
        if (kind == QLatin1String("offset"))
            return floatItem(QStringLiteral("PR"), -50, 50, true);
        if (kind == QLatin1String("length"))
            return floatItem(QStringLiteral("PR"), 0.00001, 1, true);
        if (kind == QLatin1String("plain"))
            return floatItem(QStringLiteral("PS"), 0.00001, 99999.99999, false);
        if (kind == QLatin1String("fixed")) // equal limits are no limits: only 0 passes
            return floatItem(QStringLiteral("AP"), 2.5, 2.5, false);
        if (kind == QLatin1String("int"))
            return integer(-5, 20);
        if (kind == QLatin1String("hex")) {
            auto *item = m_box.make<HexItem>();
            item->set_all(QStringLiteral("Xe"), QStringLiteral("SSI Error Mask"), 0, 4294967295LL);
            return item;
        }
        auto *item = m_box.make<ListItem>();
        item->set_all(QStringLiteral("dZ"), QStringLiteral("Leading Zeros"));
        item->add_item(QStringLiteral("Yes"), QStringLiteral("YES"));
        item->add_item(QStringLiteral("No"), QStringLiteral("NO"));
        return item;
    }
    IntegerItem *integer(qint16 lo, qint16 hi)
    {
        auto *item = m_box.make<IntegerItem>();
        item->set_all(QStringLiteral("dP"), QStringLiteral("Decimal Places"), lo, hi);
        return item;
    }
    FloatItem *floatItem(const QString &code, double lo, double hi, bool uflag)
    {
        auto *item = m_box.make<FloatItem>(&m_units);
        item->set_all(code, QStringLiteral("Hard Offset"), lo, hi, uflag);
        return item;
    }
    static QComboBox *selector(QWidget *item) { return item->findChild<QComboBox *>("UnitsCombo"); }
    static QLineEdit *field(QWidget *item) { return item->findChild<QLineEdit *>("ValueText"); }
    static QComboBox *combo(QWidget *item) { return item->findChild<QComboBox *>("ListCombo"); }

    ItemSandbox m_box;
    LengthUnits m_units;
};

void TestSetupItems::controlsAndRegistration()
{
    auto *bare = m_box.make<IntegerItem>();
    QCOMPARE(bare->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("Title:"));
    QCOMPARE(field(bare)->text(), QStringLiteral("0"));
    QVERIFY(bare->findChild<QWidget *>("UpDown"));
    SetupItem *places = make("int");
    SetupItem *mask = make("hex");
    QCOMPARE(field(mask)->text(), QStringLiteral("0"));
    QVERIFY(!mask->findChild<QWidget *>("UpDown"));
    auto *plain = m_box.make<FloatItem>(&m_units);
    QCOMPARE(field(plain)->text(), QStringLiteral("0"));
    QVERIFY(!selector(plain)->isEditable());
    QVERIFY(!selector(plain)->isVisibleTo(plain));
    SetupItem *length = make("float");
    QVERIFY(selector(length)->isVisibleTo(length));
    QCOMPARE(selector(length)->currentText(), QStringLiteral("Inches"));
    QCOMPARE(field(length)->text(), QStringLiteral("0.0000"));
    QVERIFY(static_cast<FloatItem *>(length)->unit_chosen());
    QCOMPARE(m_box.track->item_list(), (QList<SetupItem *>{bare, places, mask, plain, length}));
    QCOMPARE(places->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("Decimal Places:"));
    QCOMPARE(field(places)->toolTip(), QStringLiteral("dP"));
    QCOMPARE(field(places)->accessibleName(), QStringLiteral("Decimal Places"));
    places->set_accessible_name(QStringLiteral("Places shown"));
    QCOMPARE(field(places)->accessibleName(), QStringLiteral("Places shown"));
}

void TestSetupItems::read_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    const QVariant seven(7), cafe(qint64(0xCAFE0001)), no(QStringLiteral("NO")), half(0.5);
    QTest::newRow("int in range") << "int" << seven << 0 << "3" << "3";
    QTest::newRow("int half to even down") << "int" << seven << 0 << "2.5" << "2";
    QTest::newRow("int half to even up") << "int" << seven << 0 << "3.5" << "4";
    QTest::newRow("int blank inside") << "int" << seven << 0 << "1 2" << "12";
    QTest::newRow("int trailing letters") << "int" << seven << 0 << "4xyz" << "4";
    QTest::newRow("int below limit") << "int" << seven << 0 << "-6" << "7";
    QTest::newRow("int rounds above limit") << "int" << seven << 0 << "20.6" << "7";
    QTest::newRow("int outside 16 bits") << "int" << seven << 0 << "70000" << "7";
    QTest::newRow("int no number reads as 0") << "int" << seven << 0 << "abc" << "0";
    QTest::newRow("hex short") << "hex" << cafe << 0 << "1F" << "0000001F";
    QTest::newRow("hex lower case") << "hex" << cafe << 0 << "abc" << "00000ABC";
    QTest::newRow("hex empty") << "hex" << cafe << 0 << "" << "00000000";
    QTest::newRow("hex FFFF stays positive") << "hex" << cafe << 0 << "FFFF" << "0000FFFF";
    QTest::newRow("hex 8000 stays positive") << "hex" << cafe << 0 << "8000" << "00008000";
    QTest::newRow("hex nine digits ignored") << "hex" << cafe << 0 << "123456789" << "CAFE0001";
    QTest::newRow("hex leading zeros beyond eight") << "hex" << cafe << 0 << "00000000AB" << "000000AB";
    QTest::newRow("list YES") << "list" << no << 0 << "YES" << "Yes";
    QTest::newRow("list other case") << "list" << no << 0 << "yes" << "No";
    QTest::newRow("list trailing blank") << "list" << no << 0 << "YES " << "No";
    QTest::newRow("list time-out text") << "list" << no << 0 << "TIMEOUT ERROR" << "No";
    QTest::newRow("MM 254 is 10 in") << "offset" << half << 3 << "254" << "10.0000";
    QTest::newRow("limit test in inches: 1000 mm passes") << "offset" << half << 3 << "1000" << "39.37008";
    QTest::newRow("limit test in inches: 2 m fails") << "offset" << half << 4 << "2" << "0.5000";
    QTest::newRow("float time-out text reads 0") << "offset" << half << 3 << "TIMEOUT ERROR" << "0.0000";
    QTest::newRow("beyond every range") << "offset" << half << 0 << "1E400" << "0.5000";
    // A length at its limit, carried in single precision, is taken.
    QTest::newRow("lower limit in inches") << "length" << half << 0 << "0.00001" << "0.00001";
    QTest::newRow("lower limit in MM") << "length" << half << 3 << "0.000254" << "0.00001";
    QTest::newRow("upper limit in meters") << "length" << half << 4 << "0.0254" << "1.0000";
    QTest::newRow("just below the lower limit") << "length" << half << 0 << "0.0000099" << "0.5000";
    QTest::newRow("just above the upper limit") << "length" << half << 0 << "1.00001" << "0.5000";
    QTest::newRow("plain: units ignored") << "plain" << half << 3 << "12.5" << "12.5000";
    QTest::newRow("plain: below its limit") << "plain" << half << 3 << "0" << "0.5000";
}

void TestSetupItems::read()
{
    QFETCH(QString, kind);
    QFETCH(QVariant, start);
    QFETCH(int, units);
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    SetupItem *item = make(kind);
    item->set_value_variant(start);
    m_units.set_current_units(units);
    const QString code = item->get_serstring();
    m_box.link.replies.insert("R" + code, reply);
    item->ser_read();
    QCOMPARE(m_box.link.sent, QStringList{"R" + code});
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->value_text(), shown);
    // A failed exchange shows nothing: its time-out text is not the device's value.
    m_box.link.fail = true;
    QSignalSpy changed(item, &SetupItem::changed);
    QSignalSpy selection(item, &SetupItem::selectionChanged);
    item->ser_read();
    QCOMPARE(item->value_text(), shown);
    QCOMPARE(changed.count() + selection.count(), 0);
    // Its own settings-file line brings the same value back.
    const QString line = item->make_file_write_str();
    item->set_value_variant(start);
    QVERIFY(item->check_file_read(line));
    QCOMPARE(item->value_text(), shown);
}

void TestSetupItems::write_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::newRow("int plain") << "int" << 0 << "3" << "SdP3" << "dP3";
    QTest::newRow("int letters stay typeable") << "int" << 0 << "12abc" << "SdP12" << "dP12";
    QTest::newRow("int not rounded") << "int" << 0 << "1.5" << "SdP1.5" << "dP1.5";
    QTest::newRow("int below one") << "int" << 0 << "-.5" << "SdP-0.5" << "dP-.5";
    QTest::newRow("int no number") << "int" << 0 << "abc" << "SdP0" << "dP0";
    QTest::newRow("int outside limits") << "int" << 0 << "999" << "SdP999" << "dP999";
    QTest::newRow("int huge") << "int" << 0 << "1E20" << "SdP1E+20" << "dP1E+20";
    QTest::newRow("hex FF") << "hex" << 0 << "000000FF" << "SXeFF" << "XeFF";
    QTest::newRow("hex zero") << "hex" << 0 << "00000000" << "SXe0" << "Xe0";
    QTest::newRow("hex all ones") << "hex" << 0 << "FFFFFFFF" << "SXeFFFFFFFF" << "XeFFFFFFFF";
    QTest::newRow("hex FFFF") << "hex" << 0 << "0000FFFF" << "SXeFFFF" << "XeFFFF";
    // Typed and not yet left: the value the field would show once left.
    QTest::newRow("hex nine digits typed") << "hex" << 0 << "123456789" << "SXe23456789" << "Xe23456789";
    // Lengths go out in current_units, to single precision's 7 digits.
    QTest::newRow("10 in to MM") << "float" << 3 << "10.0000" << "SPO254" << "PO254";
    QTest::newRow("1 in to feet") << "float" << 1 << "1" << "SPO0.08333334" << "PO.08333334";
    QTest::newRow("typed, not limited, to CM") << "float" << 2 << "12.5abc" << "SPO31.75" << "PO31.75";
    QTest::newRow("negative half inch") << "float" << 0 << "-0.5" << "SPO-0.5" << "PO-.5";
    QTest::newRow("7 digits only") << "float" << 0 << "1.23456789" << "SPO1.234568" << "PO1.234568";
    QTest::newRow("large in single") << "float" << 3 << "1E6" << "SPO2.54E+07" << "PO2.54E+07";
    QTest::newRow("plain: units ignored") << "plain" << 3 << "0.5" << "SPS0.5" << "PS.5";
    QTest::newRow("plain: 15 digits") << "plain" << 0 << "0.123456789012345678" << "SPS0.123456789012346"
                                      << "PS.123456789012346";
}

void TestSetupItems::write()
{
    QFETCH(QString, kind);
    QFETCH(int, units);
    QFETCH(QString, typed);
    QFETCH(QString, command);
    QFETCH(QString, line);
    SetupItem *item = make(kind);
    m_units.set_current_units(units);
    QTest::keyClick(field(item), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(item), typed);
    QCOMPARE(field(item)->text(), typed);
    item->ser_write();
    QCOMPARE(m_box.link.sent, (QStringList{QStringLiteral("WE"), command}));
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->make_file_write_str(), line);
}

void TestSetupItems::checkFileRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("mine");
    QTest::addColumn<QString>("shown");
    const QVariant two(2), twelve(0x12), yes(QStringLiteral("YES")), half(0.5);
    QTest::newRow("int value") << "int" << two << 0 << "dP4" << true << "4";
    QTest::newRow("int rounded") << "int" << two << 0 << "dP4.5" << true << "4";
    QTest::newRow("int outside limits") << "int" << two << 0 << "dP21" << true << "2";
    QTest::newRow("int outside 16 bits") << "int" << two << 0 << "dP99999" << true << "2";
    QTest::newRow("int code only offers 0") << "int" << two << 0 << "dP" << true << "0";
    QTest::newRow("int other case") << "int" << two << 0 << "dp4" << false << "2";
    QTest::newRow("int shorter than code") << "int" << two << 0 << "d" << false << "2";
    QTest::newRow("int blank before code") << "int" << two << 0 << " dP4" << false << "2";
    QTest::newRow("hex value") << "hex" << twelve << 0 << "XeFF" << true << "000000FF";
    QTest::newRow("hex FFFF round trip") << "hex" << twelve << 0 << "XeFFFF" << true << "0000FFFF";
    QTest::newRow("hex code only") << "hex" << twelve << 0 << "Xe" << true << "00000000";
    QTest::newRow("hex other case") << "hex" << twelve << 0 << "XEFF" << false << "00000012";
    QTest::newRow("hex nine digits ignored") << "hex" << twelve << 0 << "Xe123456789" << true << "00000012";
    QTest::newRow("list match") << "list" << yes << 0 << "dZNO" << true << "No";
    QTest::newRow("list no match") << "list" << yes << 0 << "dZMAYBE" << true << "Yes";
    QTest::newRow("list code only") << "list" << yes << 0 << "dZ" << true << "Yes";
    QTest::newRow("list other case code") << "list" << yes << 0 << "dzNO" << false << "Yes";
    QTest::newRow("list other case token") << "list" << yes << 0 << "dZno" << true << "Yes";
    // 0.00001 to 1 inch, the line read in current_units.
    QTest::newRow("float 1 inch in MM") << "length" << half << 3 << "PR25.4" << true << "1.0000";
    QTest::newRow("float same line in CM is too long") << "length" << half << 2 << "PR25.4" << true << "0.5000";
    QTest::newRow("float above 1 inch") << "length" << half << 3 << "PR26" << true << "0.5000";
    QTest::newRow("float code only is zero") << "length" << half << 3 << "PR" << true << "0.5000";
    QTest::newRow("float other case") << "length" << half << 3 << "Pr.1" << false << "0.5000";
    QTest::newRow("float small") << "length" << half << 3 << "PR.0254" << true << "0.0010";
    QTest::newRow("equal limits: 1 refused") << "fixed" << QVariant(1) << 0 << "AP1" << true << "0";
    QTest::newRow("equal limits: 0 taken") << "fixed" << QVariant(1) << 0 << "AP0" << true << "0.0000";
}

void TestSetupItems::checkFileRead()
{
    QFETCH(QString, kind);
    QFETCH(QVariant, start);
    QFETCH(int, units);
    QFETCH(QString, line);
    QFETCH(bool, mine);
    QFETCH(QString, shown);
    SetupItem *item = make(kind);
    item->set_value_variant(start);
    m_units.set_current_units(units);
    QSignalSpy spy(item, &SetupItem::changed);
    QCOMPARE(item->check_file_read(line), mine);
    QCOMPARE(item->value_text(), shown);
    QVERIFY(spy.count() >= 1); // the offered line always counts
}

void TestSetupItems::integerPrefixCodeFirstItemWins()
{
    IntegerItem *shortCode = integer(0, 15);
    shortCode->set_serstring(QStringLiteral("L1"));
    IntegerItem *longCode = integer(0, 15);
    longCode->set_serstring(QStringLiteral("L1S"));
    QVERIFY(shortCode->check_file_read(QStringLiteral("L1S4"))); // "S4" has no number
    QCOMPARE(shortCode->value_text(), QStringLiteral("0"));
    QVERIFY(longCode->check_file_read(QStringLiteral("L1S4")));
    QCOMPARE(longCode->value_text(), QStringLiteral("4"));
}

void TestSetupItems::integerLimitsRejected()
{
    auto *fresh = m_box.make<IntegerItem>(); // never limited: only 0 passes
    fresh->set_serstring(QStringLiteral("XH"));
    field(fresh)->setText(QStringLiteral("9"));
    fresh->check_file_read(QStringLiteral("XH1"));
    QCOMPARE(fresh->value_text(), QStringLiteral("9"));

    IntegerItem *item = integer(1, 5);
    item->set_limits(5, 5);
    item->set_limits(9, 1);
    QCOMPARE(item->lower_limit(), qint16(1));
    QCOMPARE(item->upper_limit(), qint16(5));
    item->set_value(6);
    QCOMPARE(item->value_text(), QStringLiteral("0"));
    item->set_value(5); // the arrows keep the previous limits too
    QTest::mouseClick(item->findChild<QToolButton *>("UpButton"), Qt::LeftButton);
    QCOMPARE(item->value_text(), QStringLiteral("5"));
}

void TestSetupItems::integerSpinArrowsStepWithinLimits()
{
    IntegerItem *item = integer(1, 3);
    auto *up = item->findChild<QToolButton *>("UpButton");
    auto *down = item->findChild<QToolButton *>("DownButton");
    QLineEdit *edit = field(item);
    QTest::mouseClick(up, Qt::LeftButton); // 0 is below the range: lands on 1
    QCOMPARE(edit->text(), QStringLiteral("1"));
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("3"));
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("1"));
    edit->setText(QStringLiteral("1E9")); // beyond 16 bits: from the nearest limit
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("2"));
}

void TestSetupItems::integerChangedSignal()
{
    IntegerItem *item = integer(0, 9);
    QSignalSpy spy(item, &SetupItem::changed);
    QTest::keyClicks(field(item), QStringLiteral("12"));
    QCOMPARE(spy.count(), 2);
    QTest::mouseClick(item->findChild<QToolButton *>("DownButton"), Qt::LeftButton);
    QCOMPARE(spy.count(), 3); // "012" stepped to its limit 9
    item->set_value(9);       // same text: no change
    QCOMPARE(spy.count(), 3);
    m_box.link.replies.insert(QStringLiteral("RdP"), QStringLiteral("4"));
    item->ser_read();
    QCOMPARE(spy.count(), 4);
}

void TestSetupItems::integerEnableLookOnly()
{
    IntegerItem *item = integer(1, 5);
    auto *label = item->findChild<QLabel *>("TitleLabel");
    QLineEdit *edit = field(item);
    const QColor normalText = edit->palette().color(QPalette::Active, QPalette::Text);
    const QColor greyText = edit->palette().color(QPalette::Disabled, QPalette::Text);
    QVERIFY(normalText != greyText);
    item->enable(false);
    QVERIFY(!item->is_enabled_look());
    QCOMPARE(edit->palette().color(QPalette::Active, QPalette::Text), greyText);
    QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText),
             label->palette().color(QPalette::Disabled, QPalette::WindowText));
    QVERIFY(edit->isEnabled() && !edit->isReadOnly());
    QTest::keyClicks(edit, QStringLiteral("3"));
    item->ser_write();
    QCOMPARE(m_box.link.sent.last(), QStringLiteral("SdP3"));
    item->enable(true);
    QVERIFY(item->is_enabled_look());
    QCOMPARE(edit->palette().color(QPalette::Active, QPalette::Text), normalText);
}

void TestSetupItems::hexFocusOutNormalises_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("blanks around") << " 12 " << "00000012";
    QTest::newRow("nine digits keep the last eight") << "123456789" << "23456789";
    QTest::newRow("lower case") << "1a" << "0000001A";
}

void TestSetupItems::hexFocusOutNormalises()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    SetupItem *item = make("hex");
    QVERIFY(m_box.showBeside(item));
    QLineEdit *edit = field(item);
    edit->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(edit->hasFocus(), 10000);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), typed);
    QSignalSpy spy(item, &SetupItem::changed);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_COMPARE_WITH_TIMEOUT(edit->text(), shown, 10000);
    QCOMPARE(spy.count(), 1);
}

void TestSetupItems::hexLimitsStoredOnly()
{
    auto *item = static_cast<HexItem *>(make("hex"));
    QCOMPARE(item->upper_limit(), 0); // 0 and FFFFFFFF (-1) is not a pair
    item->set_limits(0, 16);
    item->set_limits(0, -1);
    QCOMPARE(item->upper_limit(), 16);
    m_box.link.replies.insert(QStringLiteral("RXe"), QStringLiteral("FF"));
    item->ser_read(); // no range is checked
    QCOMPARE(field(item)->text(), QStringLiteral("000000FF"));
    item->set_value(-1);
    QCOMPARE(item->value_text(), QStringLiteral("FFFFFFFF"));
    item->set_value_variant(0);
    QCOMPARE(item->value_text(), QStringLiteral("00000000"));
    item->set_value_variant(4294967295LL);
    QCOMPARE(item->value_text(), QStringLiteral("FFFFFFFF"));
}

void TestSetupItems::listAdditionAndDefaults()
{
    auto *item = m_box.make<ListItem>();
    QCOMPARE(combo(item)->count(), 0);
    QVERIFY(!combo(item)->isEditable());
    QCOMPARE(item->getindex(), -1);
    QSignalSpy selection(item, &SetupItem::selectionChanged);
    item->set_all(QStringLiteral("dZ"), QStringLiteral("Leading Zeros"));
    item->add_item(QStringLiteral("Yes"), QStringLiteral("YES"));
    item->add_item(QStringLiteral("No"), QStringLiteral("NO"));
    QCOMPARE(item->value_text(), QStringLiteral("Yes"));
    QCOMPARE(selection.count(), 2); // each addition selects the first choice
    QCOMPARE(combo(item)->accessibleName(), QStringLiteral("Leading Zeros"));
    item->set_value_variant(QStringLiteral("NO")); // a default token
    QCOMPARE(item->value_text(), QStringLiteral("No"));
}

void TestSetupItems::listWriteAndNothingSelected()
{
    SetupItem *item = make("list");
    item->ser_write();
    QCOMPARE(m_box.link.sent, (QStringList{QStringLiteral("WE"), QStringLiteral("SdZYES")}));
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->make_file_write_str(), QStringLiteral("dZYES"));
    QTest::keyClick(combo(item), Qt::Key_Down);
    QCOMPARE(item->make_file_write_str(), QStringLiteral("dZNO"));

    m_box.link.sent.clear();
    auto *empty = m_box.make<ListItem>();
    empty->set_all(QStringLiteral("PU"), QStringLiteral("Units"));
    empty->ser_write();
    QCOMPARE(m_box.link.sent, QStringList());
    QCOMPARE(empty->make_file_write_str(), QString());
    empty->add_item(QStringLiteral("Inches"), QStringLiteral("INCHES"));
    empty->init_list();
    QCOMPARE(empty->getindex(), -1);
    QCOMPARE(empty->make_file_write_str(), QString());
    QVERIFY(empty->check_file_read(QStringLiteral("PUINCHES")));
    QCOMPARE(empty->getindex(), -1);
}

void TestSetupItems::listDuplicateTokensLowerIndexWins()
{
    auto *item = m_box.make<ListItem>();
    item->set_all(QStringLiteral("AT"), QStringLiteral("Source Data"));
    item->add_item(QStringLiteral("A"), QStringLiteral("X"));
    item->add_item(QStringLiteral("B"), QStringLiteral("Y"));
    item->add_item(QStringLiteral("C"), QStringLiteral("Y"));
    QTest::keyClicks(combo(item), QStringLiteral("C"));
    QCOMPARE(item->getindex(), 2);
    item->set_value(QStringLiteral("Y"));
    QCOMPARE(item->getindex(), 1);
    QTest::keyClicks(combo(item), QStringLiteral("C"));
    QVERIFY(item->check_file_read(QStringLiteral("ATY")));
    QCOMPARE(item->getindex(), 1);
}

void TestSetupItems::listSignalsInOrder()
{
    SetupItem *item = make("list");
    QStringList order;
    connect(item, &SetupItem::changed, this, [&order] { order << QStringLiteral("changed"); });
    connect(item, &SetupItem::selectionChanged, this, [&order] { order << QStringLiteral("selection"); });
    const QStringList both{QStringLiteral("changed"), QStringLiteral("selection")};
    QTest::keyClick(combo(item), Qt::Key_Down);
    QCOMPARE(order, both);
    order.clear();
    m_box.link.replies.insert(QStringLiteral("RdZ"), QStringLiteral("YES"));
    item->ser_read();
    QCOMPARE(order, both);
    order.clear();
    item->check_file_read(QStringLiteral("dZNO"));
    QCOMPARE(order, both + QStringList{QStringLiteral("changed")});
}

void TestSetupItems::listLeavingCountsAsChange()
{
    auto *item = m_box.make<ListItem>();
    item->set_all(QStringLiteral("XT"), QStringLiteral("Transducer Type"));
    item->add_item(QStringLiteral("SSI Binary"), QStringLiteral("SSIBIN"));
    QLineEdit *other = m_box.showBeside(item);
    QVERIFY(other);
    combo(item)->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(combo(item)->hasFocus(), 10000);
    QSignalSpy spy(item, &SetupItem::selectionChanged);
    other->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 10000);
    QCOMPARE(item->getindex(), 0);
}

void TestSetupItems::floatUserSelectsUnit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("unit");
    QTest::newRow("CM") << "CM" << "2.5400" << 2;
    QTest::newRow("Feet") << "F" << "0.08333334" << 1;
    QTest::newRow("MM") << "M" << "25.4000" << 3;
}

void TestSetupItems::floatUserSelectsUnit()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, unit);
    FloatItem *item = floatItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
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

void TestSetupItems::floatReselectingAndLeavingSelectorReformat()
{
    FloatItem *item = floatItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
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

void TestSetupItems::floatUnitsFollowTheDevice()
{
    auto *plain = static_cast<FloatItem *>(make("plain"));
    QVERIFY(!selector(plain)->isVisibleTo(plain));
    plain->set_value(0.5);
    plain->reset_units(); // clears the flag only
    QVERIFY(!plain->unit_chosen());
    QCOMPARE(field(plain)->text(), QStringLiteral("0.5000"));
    FloatItem *item = floatItem(QStringLiteral("PO"), -99999.99999, 99999.99999, true);
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

QTEST_MAIN(TestSetupItems)
#include "tst_setupitems.moc"
