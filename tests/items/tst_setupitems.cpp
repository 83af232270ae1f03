#include "FakeLink.h"

#include "items/HexItem.h"
#include "items/IntegerItem.h"
#include "items/ListItem.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

// Integer, hex and list items: the same wire and file paths, told apart by a kind column.
class TestSetupItems : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_box.reset(); }
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

private:
    // "int": dP, limits -5..20; "hex": Xe; "list": dZ with Yes/No.
    SetupItem *make(const QString &kind)
    {
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
    static QLineEdit *field(QWidget *item) { return item->findChild<QLineEdit *>("ValueText"); }
    static QComboBox *combo(QWidget *item) { return item->findChild<QComboBox *>("ListCombo"); }

    ItemSandbox m_box;
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
    QCOMPARE(m_box.track->item_list(), (QList<SetupItem *>{bare, places, mask}));
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
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    const QVariant seven(7), cafe(qint64(0xCAFE0001)), no(QStringLiteral("NO"));
    QTest::newRow("int in range") << "int" << seven << "3" << "3";
    QTest::newRow("int half to even down") << "int" << seven << "2.5" << "2";
    QTest::newRow("int half to even up") << "int" << seven << "3.5" << "4";
    QTest::newRow("int blank inside") << "int" << seven << "1 2" << "12";
    QTest::newRow("int trailing letters") << "int" << seven << "4xyz" << "4";
    QTest::newRow("int below limit") << "int" << seven << "-6" << "7";
    QTest::newRow("int rounds above limit") << "int" << seven << "20.6" << "7";
    QTest::newRow("int outside 16 bits") << "int" << seven << "70000" << "7";
    QTest::newRow("int no number reads as 0") << "int" << seven << "abc" << "0";
    QTest::newRow("hex short") << "hex" << cafe << "1F" << "0000001F";
    QTest::newRow("hex lower case") << "hex" << cafe << "abc" << "00000ABC";
    QTest::newRow("hex empty") << "hex" << cafe << "" << "00000000";
    QTest::newRow("hex FFFF stays positive") << "hex" << cafe << "FFFF" << "0000FFFF";
    QTest::newRow("hex 8000 stays positive") << "hex" << cafe << "8000" << "00008000";
    QTest::newRow("hex nine digits ignored") << "hex" << cafe << "123456789" << "CAFE0001";
    QTest::newRow("hex leading zeros beyond eight") << "hex" << cafe << "00000000AB" << "000000AB";
    QTest::newRow("list YES") << "list" << no << "YES" << "Yes";
    QTest::newRow("list other case") << "list" << no << "yes" << "No";
    QTest::newRow("list trailing blank") << "list" << no << "YES " << "No";
    QTest::newRow("list time-out text") << "list" << no << "TIMEOUT ERROR" << "No";
}

void TestSetupItems::read()
{
    QFETCH(QString, kind);
    QFETCH(QVariant, start);
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    SetupItem *item = make(kind);
    item->set_value_variant(start);
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
}

void TestSetupItems::write_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::newRow("int plain") << "int" << "3" << "SdP3" << "dP3";
    QTest::newRow("int letters stay typeable") << "int" << "12abc" << "SdP12" << "dP12";
    QTest::newRow("int not rounded") << "int" << "1.5" << "SdP1.5" << "dP1.5";
    QTest::newRow("int below one") << "int" << "-.5" << "SdP-0.5" << "dP-.5";
    QTest::newRow("int no number") << "int" << "abc" << "SdP0" << "dP0";
    QTest::newRow("int outside limits") << "int" << "999" << "SdP999" << "dP999";
    QTest::newRow("int huge") << "int" << "1E20" << "SdP1E+20" << "dP1E+20";
    QTest::newRow("hex FF") << "hex" << "000000FF" << "SXeFF" << "XeFF";
    QTest::newRow("hex zero") << "hex" << "00000000" << "SXe0" << "Xe0";
    QTest::newRow("hex all ones") << "hex" << "FFFFFFFF" << "SXeFFFFFFFF" << "XeFFFFFFFF";
    QTest::newRow("hex FFFF") << "hex" << "0000FFFF" << "SXeFFFF" << "XeFFFF";
    // Typed and not yet left: the value the field would show once left.
    QTest::newRow("hex nine digits typed") << "hex" << "123456789" << "SXe23456789" << "Xe23456789";
}

void TestSetupItems::write()
{
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    QFETCH(QString, command);
    QFETCH(QString, line);
    SetupItem *item = make(kind);
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
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("mine");
    QTest::addColumn<QString>("shown");
    const QVariant two(2), twelve(0x12), yes(QStringLiteral("YES"));
    QTest::newRow("int value") << "int" << two << "dP4" << true << "4";
    QTest::newRow("int rounded") << "int" << two << "dP4.5" << true << "4";
    QTest::newRow("int outside limits") << "int" << two << "dP21" << true << "2";
    QTest::newRow("int outside 16 bits") << "int" << two << "dP99999" << true << "2";
    QTest::newRow("int code only offers 0") << "int" << two << "dP" << true << "0";
    QTest::newRow("int other case") << "int" << two << "dp4" << false << "2";
    QTest::newRow("int shorter than code") << "int" << two << "d" << false << "2";
    QTest::newRow("int blank before code") << "int" << two << " dP4" << false << "2";
    QTest::newRow("hex value") << "hex" << twelve << "XeFF" << true << "000000FF";
    QTest::newRow("hex FFFF round trip") << "hex" << twelve << "XeFFFF" << true << "0000FFFF";
    QTest::newRow("hex code only") << "hex" << twelve << "Xe" << true << "00000000";
    QTest::newRow("hex other case") << "hex" << twelve << "XEFF" << false << "00000012";
    QTest::newRow("hex nine digits ignored") << "hex" << twelve << "Xe123456789" << true << "00000012";
    QTest::newRow("list match") << "list" << yes << "dZNO" << true << "No";
    QTest::newRow("list no match") << "list" << yes << "dZMAYBE" << true << "Yes";
    QTest::newRow("list code only") << "list" << yes << "dZ" << true << "Yes";
    QTest::newRow("list other case code") << "list" << yes << "dzNO" << false << "Yes";
    QTest::newRow("list other case token") << "list" << yes << "dZno" << true << "Yes";
}

void TestSetupItems::checkFileRead()
{
    QFETCH(QString, kind);
    QFETCH(QVariant, start);
    QFETCH(QString, line);
    QFETCH(bool, mine);
    QFETCH(QString, shown);
    SetupItem *item = make(kind);
    item->set_value_variant(start);
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

QTEST_MAIN(TestSetupItems)
#include "tst_setupitems.moc"
