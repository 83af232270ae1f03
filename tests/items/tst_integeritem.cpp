#include "FakeLink.h"

#include "items/IntegerItem.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class TestIntegerItem : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_box.reset(); }
    void cleanup() { m_box.clear(); }

    void controlsAndRegistration();
    void read_data();
    void read();
    void failedReadLeavesField();
    void write_data();
    void write();
    void checkFileRead_data();
    void checkFileRead();
    void prefixCodeFirstItemWins();
    void limitsRejected();
    void spinArrowsStepWithinLimits();
    void changedSignal();
    void enableLookOnly();

private:
    IntegerItem *makeItem(qint16 lo = 1, qint16 hi = 5)
    {
        auto *item = m_box.make<IntegerItem>();
        item->set_all(QStringLiteral("dP"), QStringLiteral("Decimal Places"), lo, hi);
        return item;
    }
    QLineEdit *field(IntegerItem *item) { return item->findChild<QLineEdit *>("ValueText"); }

    ItemSandbox m_box;
};

void TestIntegerItem::controlsAndRegistration()
{
    auto *bare = m_box.make<IntegerItem>();
    QCOMPARE(bare->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("Title:"));
    QCOMPARE(field(bare)->text(), QStringLiteral("0"));
    QVERIFY(bare->findChild<QWidget *>("UpDown"));
    IntegerItem *second = makeItem();
    QCOMPARE(m_box.track->item_list(), (QList<SetupItem *>{bare, second}));
    QCOMPARE(second->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("Decimal Places:"));
    QCOMPARE(field(second)->toolTip(), QStringLiteral("dP"));
    QCOMPARE(field(second)->accessibleName(), QStringLiteral("Decimal Places"));
    second->set_accessible_name(QStringLiteral("Places shown"));
    QCOMPARE(field(second)->accessibleName(), QStringLiteral("Places shown"));
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
    QTest::newRow("rounds above limit") << "20.6" << "7";
    QTest::newRow("outside 16 bits") << "70000" << "7";
    QTest::newRow("no number reads as 0") << "abc" << "0";
}

void TestIntegerItem::read()
{
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    IntegerItem *item = makeItem(-5, 20);
    item->set_value(7);
    m_box.link.replies.insert(QStringLiteral("RdP"), reply);
    item->ser_read();
    QCOMPARE(m_box.link.sent, QStringList{QStringLiteral("RdP")});
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->value_text(), shown);
}

void TestIntegerItem::failedReadLeavesField()
{
    // The time-out text reads as 0, within these limits; it is not the device's value.
    IntegerItem *item = makeItem(0, 100);
    item->set_value(42);
    m_box.link.fail = true;
    QSignalSpy spy(item, &SetupItem::changed);
    item->ser_read();
    QCOMPARE(item->value_text(), QStringLiteral("42"));
    QCOMPARE(spy.count(), 0);
}

void TestIntegerItem::write_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << "3" << "SdP3" << "dP3";
    QTest::newRow("letters stay typeable") << "12abc" << "SdP12" << "dP12";
    QTest::newRow("not rounded") << "1.5" << "SdP1.5" << "dP1.5";
    QTest::newRow("below one") << "-.5" << "SdP-0.5" << "dP-.5";
    QTest::newRow("no number") << "abc" << "SdP0" << "dP0";
    QTest::newRow("outside limits") << "999" << "SdP999" << "dP999";
    QTest::newRow("huge") << "1E20" << "SdP1E+20" << "dP1E+20";
}

void TestIntegerItem::write()
{
    QFETCH(QString, typed);
    QFETCH(QString, command);
    QFETCH(QString, line);
    IntegerItem *item = makeItem();
    QTest::keyClick(field(item), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(item), typed);
    QCOMPARE(field(item)->text(), typed);
    item->ser_write();
    QCOMPARE(m_box.link.sent, (QStringList{QStringLiteral("WE"), command}));
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->make_file_write_str(), line);
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
    QTest::newRow("shorter than code") << "d" << false << "2";
    QTest::newRow("blank before code") << " dP4" << false << "2";
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
    QCOMPARE(spy.count(), shown == QLatin1String("2") ? 1 : 2); // the offered line always counts
}

void TestIntegerItem::prefixCodeFirstItemWins()
{
    IntegerItem *shortCode = makeItem(0, 15);
    shortCode->set_serstring(QStringLiteral("L1"));
    IntegerItem *longCode = makeItem(0, 15);
    longCode->set_serstring(QStringLiteral("L1S"));
    QVERIFY(shortCode->check_file_read(QStringLiteral("L1S4"))); // "S4" has no number
    QCOMPARE(shortCode->value_text(), QStringLiteral("0"));
    QVERIFY(longCode->check_file_read(QStringLiteral("L1S4")));
    QCOMPARE(longCode->value_text(), QStringLiteral("4"));
}

void TestIntegerItem::limitsRejected()
{
    auto *fresh = m_box.make<IntegerItem>(); // never limited: only 0 passes
    fresh->set_serstring(QStringLiteral("XH"));
    field(fresh)->setText(QStringLiteral("9"));
    fresh->check_file_read(QStringLiteral("XH1"));
    QCOMPARE(fresh->value_text(), QStringLiteral("9"));
    fresh->set_value(0);
    QCOMPARE(fresh->value_text(), QStringLiteral("0"));

    IntegerItem *item = makeItem(1, 5);
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

void TestIntegerItem::spinArrowsStepWithinLimits()
{
    IntegerItem *item = makeItem(1, 3);
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
    m_box.link.replies.insert(QStringLiteral("RdP"), QStringLiteral("4"));
    item->ser_read();
    QCOMPARE(spy.count(), 4);
    item->check_file_read(QStringLiteral("XM4"));
    QCOMPARE(spy.count(), 5);
}

void TestIntegerItem::enableLookOnly()
{
    IntegerItem *item = makeItem();
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

QTEST_MAIN(TestIntegerItem)
#include "tst_integeritem.moc"
