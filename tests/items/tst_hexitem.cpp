#include "FakeLink.h"

#include "items/HexItem.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

class TestHexItem : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_box.reset(); }
    void cleanup() { m_box.clear(); }

    void created();
    void read_data();
    void read();
    void write_data();
    void write();
    void checkFileRead_data();
    void checkFileRead();
    void focusOutNormalises_data();
    void focusOutNormalises();
    void limitsStoredOnly();
    void setValue();

private:
    HexItem *makeItem();
    QLineEdit *field(HexItem *item) { return item->findChild<QLineEdit *>("ValueText"); }

    ItemSandbox m_box;
};

HexItem *TestHexItem::makeItem()
{
    auto *item = m_box.make<HexItem>();
    item->set_all(QStringLiteral("Xe"), QStringLiteral("SSI Error Mask"), 0, 4294967295LL);
    return item;
}

void TestHexItem::created()
{
    HexItem *item = makeItem();
    QCOMPARE(field(item)->text(), QStringLiteral("0"));
    QCOMPARE(item->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("SSI Error Mask:"));
    QVERIFY(!item->findChild<QWidget *>("UpDown"));
    QCOMPARE(m_box.track->item_list(), QList<SetupItem *>{item});
    QCOMPARE(field(item)->toolTip(), QStringLiteral("Xe"));
}

void TestHexItem::read_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("short") << "1F" << "0000001F";
    QTest::newRow("lower case") << "abc" << "00000ABC";
    QTest::newRow("empty") << "" << "00000000";
    QTest::newRow("time-out text") << "TIMEOUT ERROR" << "00000000";
    QTest::newRow("FFFF stays positive") << "FFFF" << "0000FFFF";
    QTest::newRow("8000 stays positive") << "8000" << "00008000";
    QTest::newRow("nine digits ignored") << "123456789" << "CAFE0001";
    QTest::newRow("leading zeros beyond eight") << "00000000AB" << "000000AB";
}

void TestHexItem::read()
{
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    HexItem *item = makeItem();
    item->set_value(qint32(0xCAFE0001));
    m_box.link.replies.insert(QStringLiteral("RXe"), reply);
    item->ser_read();
    QCOMPARE(m_box.link.sent, QStringList{QStringLiteral("RXe")});
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(field(item)->text(), shown);
    m_box.link.fail = true; // a failed exchange shows nothing, not 00000000
    item->ser_read();
    QCOMPARE(field(item)->text(), shown);
}

void TestHexItem::write_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::newRow("FF") << "000000FF" << "SXeFF" << "XeFF";
    QTest::newRow("zero") << "00000000" << "SXe0" << "Xe0";
    QTest::newRow("all ones") << "FFFFFFFF" << "SXeFFFFFFFF" << "XeFFFFFFFF";
    QTest::newRow("FFFF") << "0000FFFF" << "SXeFFFF" << "XeFFFF";
    // Typed and not yet left: the value the field would show once left.
    QTest::newRow("nine digits typed") << "123456789" << "SXe23456789" << "Xe23456789";
}

void TestHexItem::write()
{
    QFETCH(QString, text);
    QFETCH(QString, command);
    QFETCH(QString, line);
    HexItem *item = makeItem();
    QTest::keyClick(field(item), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(item), text);
    item->ser_write();
    QCOMPARE(m_box.link.sent, (QStringList{QStringLiteral("WE"), command}));
    QCOMPARE(item->make_file_write_str(), line);
}

void TestHexItem::checkFileRead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("mine");
    QTest::addColumn<QString>("shown");
    QTest::newRow("value") << "XeFF" << true << "000000FF";
    QTest::newRow("FFFF round trip") << "XeFFFF" << true << "0000FFFF";
    QTest::newRow("code only") << "Xe" << true << "00000000";
    QTest::newRow("other case") << "XEFF" << false << "00000012";
    QTest::newRow("nine digits ignored") << "Xe123456789" << true << "00000012";
}

void TestHexItem::checkFileRead()
{
    QFETCH(QString, line);
    QFETCH(bool, mine);
    QFETCH(QString, shown);
    HexItem *item = makeItem();
    item->set_value(0x12);
    QSignalSpy spy(item, &SetupItem::changed);
    QCOMPARE(item->check_file_read(line), mine);
    QCOMPARE(field(item)->text(), shown);
    QVERIFY(spy.count() >= 1);
}

void TestHexItem::focusOutNormalises_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("blanks around") << " 12 " << "00000012";
    QTest::newRow("nine digits keep the last eight") << "123456789" << "23456789";
    QTest::newRow("lower case") << "1a" << "0000001A";
}

void TestHexItem::focusOutNormalises()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *item = new HexItem(ItemContext{m_box.track, &m_box.link, nullptr}, &window);
    item->set_all(QStringLiteral("CS"), QStringLiteral("CANbus Serial #"), 0, 4294967295LL);
    auto *other = new QLineEdit(&window);
    layout->addWidget(item);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
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

void TestHexItem::limitsStoredOnly()
{
    HexItem *item = makeItem();
    QCOMPARE(item->lower_limit(), 0);
    QCOMPARE(item->upper_limit(), 0); // 0 and FFFFFFFF (-1) is not a pair
    item->set_limits(0, 16);
    QCOMPARE(item->upper_limit(), 16);
    item->set_limits(0, -1);
    QCOMPARE(item->upper_limit(), 16);
    m_box.link.replies.insert(QStringLiteral("RXe"), QStringLiteral("FF"));
    item->ser_read(); // no range is checked
    QCOMPARE(field(item)->text(), QStringLiteral("000000FF"));
}

void TestHexItem::setValue()
{
    HexItem *item = makeItem();
    item->set_value(-1);
    QCOMPARE(item->value_text(), QStringLiteral("FFFFFFFF"));
    item->set_value_variant(0);
    QCOMPARE(item->value_text(), QStringLiteral("00000000"));
    item->set_value_variant(4294967295LL);
    QCOMPARE(item->value_text(), QStringLiteral("FFFFFFFF"));
}

QTEST_MAIN(TestHexItem)
#include "tst_hexitem.moc"
