#include "FakeLink.h"

#include "items/IntegerItem.h"
#include "items/LengthUnits.h"
#include "transfer/ItemTrack.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class TestIntegerItem : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsAndRegistration();
    void read_data();
    void read();
    void failedReadLeavesField();
    void write_data();
    void write();
    void typedTextIsWritten();
    void fileLine();
    void checkFileRead_data();
    void checkFileRead();
    void prefixCodeFirstItemWins();
    void limitsRejected();
    void neverLimitedTakesOnlyZero();
    void setValue();
    void spinArrowsStepWithinLimits();
    void changedSignal();
    void enableLook();
    void accessibleNames();

private:
    IntegerItem *makeItem(qint16 lo = 1, qint16 hi = 5);
    QLineEdit *field(IntegerItem *item) { return item->findChild<QLineEdit *>("ValueText"); }

    FakeLink m_link;
    LengthUnits m_units;
    ItemTrack *m_track = nullptr;
    QList<IntegerItem *> m_items;
};

void TestIntegerItem::init()
{
    m_link = FakeLink();
    m_track = new ItemTrack;
}

void TestIntegerItem::cleanup()
{
    qDeleteAll(m_items);
    m_items.clear();
    delete m_track;
    m_track = nullptr;
}

IntegerItem *TestIntegerItem::makeItem(qint16 lo, qint16 hi)
{
    auto *item = new IntegerItem(ItemContext{m_track, &m_link, &m_units});
    item->set_all(QStringLiteral("dP"), QStringLiteral("Decimal Places"), lo, hi);
    m_items.append(item);
    return item;
}

void TestIntegerItem::controlsAndRegistration()
{
    auto *bare = new IntegerItem(ItemContext{m_track, &m_link, &m_units});
    m_items.append(bare);
    QCOMPARE(bare->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("Title:"));
    QCOMPARE(field(bare)->text(), QStringLiteral("0"));
    QVERIFY(bare->findChild<QWidget *>("UpDown"));
    QCOMPARE(bare->lower_limit(), qint16(0));
    QCOMPARE(bare->upper_limit(), qint16(0));

    IntegerItem *second = makeItem();
    QCOMPARE(m_track->item_list(), (QList<SetupItem *>{bare, second}));
    QCOMPARE(second->title(), QStringLiteral("Decimal Places:"));
    QCOMPARE(second->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("Decimal Places:"));
    QCOMPARE(second->get_serstring(), QStringLiteral("dP"));
}

void TestIntegerItem::read_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("in range") << "3" << "3";
    QTest::newRow("half to even down") << "2.5" << "2";
    QTest::newRow("half to even up") << "3.5" << "4";
    QTest::newRow("blank inside") << "1 2" << "12";
    QTest::newRow("trailing letters") << "4xyz" << "4";
    QTest::newRow("below limit") << "-6" << "7";
    QTest::newRow("above limit") << "21" << "7";
    QTest::newRow("rounds above limit") << "20.6" << "7";
    QTest::newRow("outside 16 bits") << "70000" << "7";
    QTest::newRow("no number reads as 0") << "abc" << "0";
    QTest::newRow("exponent") << "1.2E1" << "12";
    QTest::newRow("negative in range") << "-3" << "-3";
}

void TestIntegerItem::read()
{
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    IntegerItem *item = makeItem(-5, 20);
    item->set_value(7);
    m_link.replies.insert(QStringLiteral("RdP"), reply);
    item->ser_read();
    QCOMPARE(m_link.sent, QStringList{QStringLiteral("RdP")});
    QCOMPARE(m_link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->value_text(), shown);
}

void TestIntegerItem::failedReadLeavesField()
{
    // A time-out's text and a stale earlier reply both read as numbers; neither is the
    // device's value of this parameter.
    IntegerItem *item = makeItem(0, 100);
    item->set_value(42);
    m_link.fail = true;
    QSignalSpy spy(item, &SetupItem::changed);
    item->ser_read();
    QCOMPARE(item->value_text(), QStringLiteral("42"));
    QCOMPARE(spy.count(), 0);
}

void TestIntegerItem::write_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("command");
    QTest::newRow("plain") << "3" << "SdP3";
    QTest::newRow("trailing letters") << "12abc" << "SdP12";
    QTest::newRow("not rounded") << "1.5" << "SdP1.5";
    QTest::newRow("below one") << ".5" << "SdP0.5";
    QTest::newRow("no number") << "abc" << "SdP0";
    QTest::newRow("outside limits is still sent") << "999" << "SdP999";
    QTest::newRow("negative") << "-7" << "SdP-7";
    QTest::newRow("hex typed") << "&H10" << "SdP16";
    QTest::newRow("huge typed") << "1E20" << "SdP1E+20";
}

void TestIntegerItem::write()
{
    QFETCH(QString, text);
    QFETCH(QString, command);
    IntegerItem *item = makeItem();
    field(item)->setText(text);
    item->ser_write();
    QCOMPARE(m_link.sent, (QStringList{QStringLiteral("WE"), command}));
    QCOMPARE(m_link.indicateErrors, QList<bool>{false});
}

void TestIntegerItem::typedTextIsWritten()
{
    IntegerItem *item = makeItem();
    QLineEdit *edit = field(item);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QStringLiteral("4 x"));
    QCOMPARE(edit->text(), QStringLiteral("4 x")); // letters stay typeable
    item->ser_write();
    QCOMPARE(m_link.sent.last(), QStringLiteral("SdP4"));
    QCOMPARE(item->make_file_write_str(), QStringLiteral("dP4"));
}

void TestIntegerItem::fileLine()
{
    IntegerItem *item = makeItem();
    item->set_value(3);
    QCOMPARE(item->make_file_write_str(), QStringLiteral("dP3"));
    field(item)->setText(QStringLiteral("-0.5"));
    QCOMPARE(item->make_file_write_str(), QStringLiteral("dP-.5"));
}

void TestIntegerItem::checkFileRead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("mine");
    QTest::addColumn<QString>("shown");
    QTest::newRow("value") << "dP4" << true << "4";
    QTest::newRow("rounded") << "dP4.5" << true << "4";
    QTest::newRow("outside limits") << "dP9" << true << "2";
    QTest::newRow("outside 16 bits") << "dP99999" << true << "2";
    QTest::newRow("code only offers 0") << "dP" << true << "0";
    QTest::newRow("other case") << "dp4" << false << "2";
    QTest::newRow("other code") << "dU4" << false << "2";
    QTest::newRow("shorter than code") << "d" << false << "2";
    QTest::newRow("blank before code") << " dP4" << false << "2";
    QTest::newRow("empty line") << "" << false << "2";
}

void TestIntegerItem::checkFileRead()
{
    QFETCH(QString, line);
    QFETCH(bool, mine);
    QFETCH(QString, shown);
    IntegerItem *item = makeItem(0, 5);
    item->set_value(2);
    QSignalSpy spy(item, &SetupItem::changed);
    QCOMPARE(item->check_file_read(line), mine);
    QCOMPARE(item->value_text(), shown);
    QVERIFY(spy.count() >= 1); // every offered line marks the form
    QCOMPARE(m_link.sent, QStringList());
}

void TestIntegerItem::prefixCodeFirstItemWins()
{
    // "L1" would own "L1S4"; the walk stops at the first item that claims a line.
    IntegerItem *shortCode = makeItem(0, 15);
    shortCode->set_serstring(QStringLiteral("L1"));
    IntegerItem *longCode = makeItem(0, 15);
    longCode->set_serstring(QStringLiteral("L1S"));
    QVERIFY(shortCode->check_file_read(QStringLiteral("L1S4")));
    QCOMPARE(shortCode->value_text(), QStringLiteral("0")); // "S4" has no leading number
    QVERIFY(longCode->check_file_read(QStringLiteral("L1S4")));
    QCOMPARE(longCode->value_text(), QStringLiteral("4"));
    QVERIFY(!longCode->check_file_read(QStringLiteral("L1U4")));
}

void TestIntegerItem::limitsRejected()
{
    IntegerItem *item = makeItem(1, 5);
    auto *arrows = item->findChild<QWidget *>("UpDown");
    QVERIFY(arrows);
    item->set_limits(5, 5);
    QCOMPARE(item->lower_limit(), qint16(1));
    QCOMPARE(item->upper_limit(), qint16(5));
    item->set_limits(9, 1);
    QCOMPARE(item->upper_limit(), qint16(5));
    // The arrows keep the previous limits too.
    item->set_value(5);
    QTest::mouseClick(arrows->findChild<QToolButton *>("UpButton"), Qt::LeftButton);
    QCOMPARE(item->value_text(), QStringLiteral("5"));
    item->set_limits(-10, 10);
    QCOMPARE(item->lower_limit(), qint16(-10));
    QTest::mouseClick(arrows->findChild<QToolButton *>("UpButton"), Qt::LeftButton);
    QCOMPARE(item->value_text(), QStringLiteral("6"));
}

void TestIntegerItem::neverLimitedTakesOnlyZero()
{
    IntegerItem *item = new IntegerItem(ItemContext{m_track, &m_link, &m_units});
    m_items.append(item);
    item->set_serstring(QStringLiteral("XH"));
    field(item)->setText(QStringLiteral("9"));
    QVERIFY(item->check_file_read(QStringLiteral("XH1")));
    QCOMPARE(item->value_text(), QStringLiteral("9"));
    QVERIFY(item->check_file_read(QStringLiteral("XH0")));
    QCOMPARE(item->value_text(), QStringLiteral("0"));
}

void TestIntegerItem::setValue()
{
    IntegerItem *item = makeItem(1, 5);
    item->set_value(4);
    QCOMPARE(item->value_text(), QStringLiteral("4"));
    item->set_value(6);
    QCOMPARE(item->value_text(), QStringLiteral("4"));
    item->set_value_variant(1);
    QCOMPARE(item->value_text(), QStringLiteral("1"));
    item->set_value_variant(65537); // would wrap to 1 as a 16-bit number
    item->set_value_variant(QStringLiteral("x"));
    QCOMPARE(item->value_text(), QStringLiteral("1"));
}

void TestIntegerItem::spinArrowsStepWithinLimits()
{
    IntegerItem *item = makeItem(1, 3);
    auto *up = item->findChild<QToolButton *>("UpButton");
    auto *down = item->findChild<QToolButton *>("DownButton");
    QLineEdit *edit = field(item);
    // The field starts at 0, below the lower limit: the first step lands in range.
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("1"));
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("3"));
    QTest::keyClick(edit, Qt::Key_Down);
    QCOMPARE(edit->text(), QStringLiteral("2"));
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("1"));
    edit->setText(QStringLiteral("2x"));
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(edit->text(), QStringLiteral("3"));
    edit->setText(QStringLiteral("1E9"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("2"));
}

void TestIntegerItem::changedSignal()
{
    IntegerItem *item = makeItem(0, 9);
    QSignalSpy spy(item, &SetupItem::changed);
    QTest::keyClicks(field(item), QStringLiteral("12"));
    QCOMPARE(spy.count(), 2);
    QTest::mouseClick(item->findChild<QToolButton *>("DownButton"), Qt::LeftButton);
    QCOMPARE(spy.count(), 3); // "012" stepped to its limit 9
    item->set_value(9);       // same text: no change
    QCOMPARE(spy.count(), 3);
    m_link.replies.insert(QStringLiteral("RdP"), QStringLiteral("4"));
    item->ser_read();
    QCOMPARE(spy.count(), 4);
    item->check_file_read(QStringLiteral("XM4"));
    QCOMPARE(spy.count(), 5);
}

void TestIntegerItem::enableLook()
{
    IntegerItem *item = makeItem();
    auto *label = item->findChild<QLabel *>("TitleLabel");
    QLineEdit *edit = field(item);
    const QColor normalText = edit->palette().color(QPalette::Active, QPalette::Text);
    const QColor normalTitle = label->palette().color(QPalette::Active, QPalette::WindowText);
    const QColor greyText = edit->palette().color(QPalette::Disabled, QPalette::Text);
    const QColor greyTitle = label->palette().color(QPalette::Disabled, QPalette::WindowText);
    QVERIFY(normalText != greyText);
    QVERIFY(item->is_enabled_look());

    item->enable(false);
    QVERIFY(!item->is_enabled_look());
    QCOMPARE(edit->palette().color(QPalette::Active, QPalette::Text), greyText);
    QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText), greyTitle);
    QVERIFY(edit->isEnabled());
    QVERIFY(!edit->isReadOnly());
    QTest::keyClicks(edit, QStringLiteral("3"));
    item->ser_write();
    QCOMPARE(m_link.sent.last(), QStringLiteral("SdP3"));

    item->enable(true);
    QVERIFY(item->is_enabled_look());
    QCOMPARE(edit->palette().color(QPalette::Active, QPalette::Text), normalText);
    QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText), normalTitle);
}

void TestIntegerItem::accessibleNames()
{
    IntegerItem *item = makeItem();
    QLineEdit *edit = field(item);
    QCOMPARE(edit->toolTip(), QStringLiteral("dP"));
    QCOMPARE(edit->accessibleName(), QStringLiteral("Decimal Places"));
    item->set_accessible_name(QStringLiteral("Places shown"));
    QCOMPARE(edit->accessibleName(), QStringLiteral("Places shown"));
    QCOMPARE(item->accessible_name(), QStringLiteral("Places shown"));
    QVERIFY(item->findChild<QWidget *>("UpDown")->accessibleName().startsWith(QStringLiteral("Places shown")));
}

QTEST_MAIN(TestIntegerItem)
#include "tst_integeritem.moc"
