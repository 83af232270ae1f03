#include "catalogue/ParameterTable.h"

#include <QSet>
#include <QtTest>

using namespace ParameterTable;

class TestParameterTable : public QObject
{
    Q_OBJECT
private slots:
    void everyParameterOnce()
    {
        QCOMPARE(parameters().size(), 86);
        QSet<QString> codes;
        for (const Parameter &p : parameters())
            codes.insert(p.code);
        QCOMPARE(codes.size(), 86); // codes are case-sensitive: "PO" and "Po" both count
    }

    void creationOrderIsTheItemListOrder()
    {
        const QList<Parameter> &order = creationOrder();
        QCOMPARE(order.size(), 86);
        QCOMPARE(order.first().name(), QStringLiteral("PresetItem(0)"));
        QCOMPARE(order.at(4).name(), QStringLiteral("LimitLBItem(0)"));
        QCOMPARE(order.at(18).name(), QStringLiteral("MagOffItem(0)"));
        QCOMPARE(order.at(34).code, QStringLiteral("PU"));
        QCOMPARE(order.at(37).name(), QStringLiteral("PlacesItem"));
        QCOMPARE(order.at(38).code, QStringLiteral("Ab"));
        QCOMPARE(order.at(48).code, QStringLiteral("IB"));
        QCOMPARE(order.at(49).code, QStringLiteral("L2A"));
        QCOMPARE(order.at(52).code, QStringLiteral("L2L"));
        QCOMPARE(order.at(65).code, QStringLiteral("p2"));
        QCOMPARE(order.at(71).code, QStringLiteral("p8"));
        QCOMPARE(order.at(72).code, QStringLiteral("Pm2"));
        QCOMPARE(order.last().code, QStringLiteral("PmF"));
        QSet<QString> names;
        for (const Parameter &p : order)
            names.insert(p.name());
        QCOMPARE(names.size(), 86);
    }

    void generatedCodesAndTitles()
    {
        QCOMPARE(byControl("MagOffItem", 9)->code, QStringLiteral("PmA"));
        QCOMPARE(byControl("LimitUBItem", 2)->code, QStringLiteral("L3U"));
        QCOMPARE(byControl("LimitUBItem", 2)->title, QStringLiteral("Limit 3 Bound"));
        QCOMPARE(byControl("LimitActItem", 4)->title, QStringLiteral("Limit 5 Active State"));
        QCOMPARE(byControl("PresetItem", 7)->code, QStringLiteral("p8"));
        QCOMPARE(byControl("DigInItem", 1)->title, QStringLiteral("Input 2 Action"));
        QCOMPARE(byControl("ButtonHoldItem", 5)->code, QStringLiteral("AF"));
        QCOMPARE(byCode("Po")->title, QStringLiteral("Soft Offset"));
        QCOMPARE(byCode("PO")->title, QStringLiteral("Hard Offset"));
        QVERIFY(!byCode("po"));
    }

    void configurationOrderGroupsLimitSwitches()
    {
        const QList<Parameter> &all = parameters();
        QCOMPARE(all.at(12).name(), QStringLiteral("ReferenceItem"));
        QCOMPARE(all.at(13).code, QStringLiteral("Pm1"));
        QCOMPARE(all.at(27).code, QStringLiteral("PmF"));
        QCOMPARE(all.at(28).code, QStringLiteral("XT"));
        QStringList limits;
        for (int i = 58; i < 66; ++i)
            limits << all.at(i).code;
        QCOMPARE(limits, (QStringList{"L1L", "L1U", "L1S", "L1A", "L2L", "L2U", "L2S", "L2A"}));
        QCOMPARE(all.last().code, QStringLiteral("p8"));
    }
};

QTEST_GUILESS_MAIN(TestParameterTable)
#include "tst_parametertable.moc"
