#include "FakeLink.h"

#include "items/ListItem.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

class TestListItem : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_box.reset(); }
    void cleanup() { m_box.clear(); }

    void createdEmpty();
    void read_data();
    void read();
    void failedReadKeepsSelection();
    void writeAndFileLine();
    void checkFileRead_data();
    void checkFileRead();
    void duplicateTokensLowerIndexWins();
    void nothingSelectedWritesNothing();
    void userSelectionSignalsInOrder();
    void leavingListCountsAsChange();

private:
    ListItem *yesNo();
    QComboBox *combo(ListItem *item) { return item->findChild<QComboBox *>("ListCombo"); }

    ItemSandbox m_box;
};

ListItem *TestListItem::yesNo()
{
    auto *item = m_box.make<ListItem>();
    item->set_all(QStringLiteral("dZ"), QStringLiteral("Leading Zeros"));
    item->add_item(QStringLiteral("Yes"), QStringLiteral("YES"));
    item->add_item(QStringLiteral("No"), QStringLiteral("NO"));
    return item;
}

void TestListItem::createdEmpty()
{
    auto *item = m_box.make<ListItem>();
    QCOMPARE(item->findChild<QLabel *>("TitleLabel")->text(), QStringLiteral("Title:"));
    QCOMPARE(combo(item)->count(), 0);
    QVERIFY(!combo(item)->isEditable());
    QCOMPARE(item->getindex(), -1);
    QCOMPARE(m_box.track->item_list(), QList<SetupItem *>{item});
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

void TestListItem::read_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("index");
    QTest::newRow("NO") << "NO" << 1;
    QTest::newRow("other case") << "no" << 1;
    QTest::newRow("trailing blank") << "YES " << 1;
    QTest::newRow("time-out text") << "TIMEOUT ERROR" << 1;
}

void TestListItem::read()
{
    QFETCH(QString, reply);
    QFETCH(int, index);
    ListItem *item = yesNo();
    item->set_value(QStringLiteral("NO"));
    m_box.link.replies.insert(QStringLiteral("RdZ"), reply);
    item->ser_read();
    QCOMPARE(m_box.link.sent, QStringList{QStringLiteral("RdZ")});
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->getindex(), index);
}

void TestListItem::failedReadKeepsSelection()
{
    ListItem *item = yesNo();
    m_box.link.fail = true;
    m_box.link.received = QStringLiteral("NO"); // a stale reply must not be taken
    QSignalSpy spy(item, &SetupItem::selectionChanged);
    item->ser_read();
    QCOMPARE(item->getindex(), 0);
    QCOMPARE(spy.count(), 0);
}

void TestListItem::writeAndFileLine()
{
    ListItem *item = yesNo();
    item->ser_write();
    QCOMPARE(m_box.link.sent, (QStringList{QStringLiteral("WE"), QStringLiteral("SdZYES")}));
    QCOMPARE(m_box.link.indicateErrors, QList<bool>{false});
    QCOMPARE(item->make_file_write_str(), QStringLiteral("dZYES"));
    QTest::keyClick(combo(item), Qt::Key_Down);
    QCOMPARE(item->make_file_write_str(), QStringLiteral("dZNO"));
}

void TestListItem::checkFileRead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("mine");
    QTest::addColumn<int>("index");
    QTest::newRow("match") << "dZNO" << true << 1;
    QTest::newRow("no match") << "dZMAYBE" << true << 0;
    QTest::newRow("code only") << "dZ" << true << 0;
    QTest::newRow("other case code") << "dzNO" << false << 0;
    QTest::newRow("other case token") << "dZno" << true << 0;
}

void TestListItem::checkFileRead()
{
    QFETCH(QString, line);
    QFETCH(bool, mine);
    QFETCH(int, index);
    ListItem *item = yesNo();
    QSignalSpy spy(item, &SetupItem::changed);
    QCOMPARE(item->check_file_read(line), mine);
    QCOMPARE(item->getindex(), index);
    QVERIFY(spy.count() >= 1);
}

void TestListItem::duplicateTokensLowerIndexWins()
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

void TestListItem::nothingSelectedWritesNothing()
{
    auto *item = m_box.make<ListItem>();
    item->set_all(QStringLiteral("PU"), QStringLiteral("Units"));
    item->ser_write();
    QCOMPARE(m_box.link.sent, QStringList());
    QCOMPARE(item->make_file_write_str(), QString());
    item->add_item(QStringLiteral("Inches"), QStringLiteral("INCHES"));
    item->init_list();
    QCOMPARE(item->getindex(), -1);
    QCOMPARE(item->make_file_write_str(), QString());
    QVERIFY(item->check_file_read(QStringLiteral("PUINCHES")));
    QCOMPARE(item->getindex(), -1);
}

void TestListItem::userSelectionSignalsInOrder()
{
    ListItem *item = yesNo();
    QStringList order;
    connect(item, &SetupItem::changed, this, [&order] { order << QStringLiteral("changed"); });
    connect(item, &SetupItem::selectionChanged, this, [&order] { order << QStringLiteral("selection"); });
    QTest::keyClick(combo(item), Qt::Key_Down);
    QCOMPARE(item->getindex(), 1);
    QCOMPARE(order, (QStringList{QStringLiteral("changed"), QStringLiteral("selection")}));
    order.clear();
    m_box.link.replies.insert(QStringLiteral("RdZ"), QStringLiteral("YES"));
    item->ser_read();
    QCOMPARE(order, (QStringList{QStringLiteral("changed"), QStringLiteral("selection")}));
    order.clear();
    item->check_file_read(QStringLiteral("dZNO"));
    QCOMPARE(order, (QStringList{QStringLiteral("changed"), QStringLiteral("selection"), QStringLiteral("changed")}));
}

void TestListItem::leavingListCountsAsChange()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *item = new ListItem(ItemContext{m_box.track, &m_box.link, nullptr}, &window);
    item->set_all(QStringLiteral("XT"), QStringLiteral("Transducer Type"));
    item->add_item(QStringLiteral("SSI Binary"), QStringLiteral("SSIBIN"));
    auto *other = new QLineEdit(&window);
    layout->addWidget(item);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    combo(item)->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(combo(item)->hasFocus(), 10000);
    QSignalSpy spy(item, &SetupItem::selectionChanged);
    other->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 10000);
    QCOMPARE(item->getindex(), 0);
}

QTEST_MAIN(TestListItem)
#include "tst_listitem.moc"
