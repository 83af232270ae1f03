#include "FakeLink.h"
#include "model/ParameterTable.h"
#include "catalogue/SetupForm.h"
#include "model/LengthUnits.h"
#include "items/ListItem.h"
#include "transfer/ItemTrack.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

class TestSetupForm : public QObject
{
    Q_OBJECT

    FakeLink link;
    LengthUnits units;
    ItemTrack *track = nullptr;
    QTabWidget *tabs = nullptr;
    SetupForm *form = nullptr;

    QComboBox *listCombo(const QString &control, int index = -1)
    {
        return form->item(control, index)->findChild<QComboBox *>("ListCombo");
    }
    QStringList shownCodes(const QStringList &controls, int count)
    {
        QStringList out;
        for (int i = 0; i < count; ++i)
            for (const QString &c : controls)
                if (!form->item(c, i)->isHidden())
                    out << form->item(c, i)->get_serstring();
        return out;
    }

private slots:
    void init()
    {
        units.fill_factors();
        track = new ItemTrack;
        tabs = new QTabWidget;
        tabs->resize(600, 340);
        form = new SetupForm(ItemContext{track, &link, &units}, tabs);
        form->build_catalogue();
        form->update_disabled();
    }
    void cleanup()
    {
        delete form;
        delete tabs;
        delete track;
    }

    // The table itself: 86 parameters, in the order items are created and configured.
    void everyParameterOnce()
    {
        QCOMPARE(ParameterTable::parameters().size(), 86);
        QSet<QString> codes;
        for (const ParameterTable::Parameter &p : ParameterTable::parameters())
            codes.insert(p.code);
        QCOMPARE(codes.size(), 86); // codes are case-sensitive: "PO" and "Po" both count
    }

    void creationOrderIsTheItemListOrder()
    {
        const QList<ParameterTable::Parameter> &order = ParameterTable::creationOrder();
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
        for (const ParameterTable::Parameter &p : order)
            names.insert(p.name());
        QCOMPARE(names.size(), 86);
    }

    void generatedCodesAndTitles()
    {
        QCOMPARE(ParameterTable::byControl("MagOffItem", 9)->code, QStringLiteral("PmA"));
        QCOMPARE(ParameterTable::byControl("LimitUBItem", 2)->code, QStringLiteral("L3U"));
        QCOMPARE(ParameterTable::byControl("LimitUBItem", 2)->title, QStringLiteral("Limit 3 Bound"));
        QCOMPARE(ParameterTable::byControl("LimitActItem", 4)->title, QStringLiteral("Limit 5 Active State"));
        QCOMPARE(ParameterTable::byControl("PresetItem", 7)->code, QStringLiteral("p8"));
        QCOMPARE(ParameterTable::byControl("DigInItem", 1)->title, QStringLiteral("Input 2 Action"));
        QCOMPARE(ParameterTable::byControl("ButtonHoldItem", 5)->code, QStringLiteral("AF"));
        QCOMPARE(ParameterTable::byCode("Po")->title, QStringLiteral("Soft Offset"));
        QCOMPARE(ParameterTable::byCode("PO")->title, QStringLiteral("Hard Offset"));
        QVERIFY(!ParameterTable::byCode("po"));
    }

    void configurationOrderGroupsLimitSwitches()
    {
        const QList<ParameterTable::Parameter> &all = ParameterTable::parameters();
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

    void itemListFollowsCreationOrder()
    {
        ItemTrack own;
        QTabWidget page;
        SetupForm built(ItemContext{&own, &link, &units}, &page);
        QCOMPARE(own.item_list().size(), 72);
        built.build_catalogue();
        const QList<SetupItem *> &items = own.item_list();
        QCOMPARE(items.size(), 86);
        const QList<ParameterTable::Parameter> &order = ParameterTable::creationOrder();
        for (int i = 0; i < 86; ++i) {
            QCOMPARE(items.at(i)->get_serstring(), order.at(i).code);
            QCOMPARE(items.at(i)->objectName(), order.at(i).name());
        }
        QCOMPARE(own.units_item()->objectName(), QStringLiteral("UnitsItem"));
    }

    void tabsAndCaptions()
    {
        QCOMPARE(tabs->count(), 8);
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        QCOMPARE(captions, ParameterTable::tabs());
        QCOMPARE(form->item("PlacesItem")->title(), QStringLiteral("Decimal Places:"));
        QCOMPARE(form->sectionLabel("digitallabel")->text(), QStringLiteral("Start/Stop and PWM Configuration:"));
    }

    void everyListShowsItsFirstChoice()
    {
        for (const ParameterTable::Parameter &p : ParameterTable::parameters()) {
            if (p.kind != ParameterTable::Kind::List)
                continue;
            QCOMPARE(listCombo(p.control, p.index)->currentText(), p.choices.first().display);
        }
    }

    // Each selector shows only the entry it names.
    void selectors()
    {
        QCOMPARE(form->magOffCombo()->currentText(), QStringLiteral("Magnet 1 Offset"));
        QCOMPARE(shownCodes({"MagOffItem"}, 15), QStringList{"Pm1"});
        form->magOffCombo()->setCurrentIndex(14);
        QCOMPARE(shownCodes({"MagOffItem"}, 15), QStringList{"PmF"});
        QCOMPARE(form->limitCombo()->currentText(), QStringLiteral("Digital Output 1"));
        form->limitCombo()->setCurrentIndex(2);
        QCOMPARE(shownCodes({"LimitLBItem", "LimitUBItem", "LimitMagItem", "LimitActItem"}, 5),
                 (QStringList{"L3L", "L3U", "L3S", "L3A"}));
    }

    void availabilityFollowsTransducerType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("on");
        const QStringList ssi{"SSIBitsItem", "SSIErrItem", "SSIMaskItem", "ResolutionItem", "ssilabel"};
        const QStringList startStop{"GradientItem", "HoldoffItem", "digitallabel", "startstoplabel"};
        QTest::newRow("SSI Binary") << 0 << ssi;
        QTest::newRow("SSI Graycode") << 1 << ssi;
        QTest::newRow("Ext Clock SSI Binary") << 2 << ssi;
        QTest::newRow("Start/Stop") << 3 << startStop;
        QTest::newRow("PWM") << 4 << QStringList{"GradientItem", "RecircsItem", "digitallabel", "pwmlabel"};
        QTest::newRow("CANbus") << 5
                                << QStringList{"ResolutionItem", "CanBaudItem", "CanSerialItem", "canlabel"};
        QTest::newRow("St/St Trailing Edge") << 6 << startStop;
    }
    void availabilityFollowsTransducerType()
    {
        QFETCH(int, type);
        QFETCH(QStringList, on);
        listCombo("TTypeItem")->setCurrentIndex(type);
        const QStringList items{"SSIBitsItem", "SSIErrItem", "SSIMaskItem", "ResolutionItem", "GradientItem",
                                "HoldoffItem", "CanBaudItem", "CanSerialItem", "RecircsItem"};
        for (const QString &name : items)
            QVERIFY2(form->item(name)->is_enabled_look() == on.contains(name), qPrintable(name));
        for (const QString &name : QStringList{"ssilabel", "digitallabel", "startstoplabel", "canlabel", "pwmlabel"})
            QVERIFY2(form->sectionLabel(name)->isEnabled() == on.contains(name), qPrintable(name));
        // Nothing else is ever greyed.
        QVERIFY(form->item("ScaleItem")->is_enabled_look());
        QVERIFY(form->item("TTypeItem")->is_enabled_look());
    }

    void anyListSelectionReappliesTheRow()
    {
        listCombo("TTypeItem")->setCurrentIndex(4);
        form->item("SSIBitsItem")->enable(true); // out of step on purpose
        QVERIFY(form->item("SSIBitsItem")->is_enabled_look());
        listCombo("UnitsItem")->setCurrentIndex(3);
        QVERIFY(!form->item("SSIBitsItem")->is_enabled_look());
        QVERIFY(form->item("RecircsItem")->is_enabled_look());
    }

    void editorsAreNamedApart()
    {
        QSet<QString> names;
        for (SetupItem *item : track->item_list()) {
            names.insert(item->accessible_name());
            QVERIFY(!item->accessible_name().isEmpty());
        }
        QCOMPARE(names.size(), 86);
        QCOMPARE(form->item("MagOffItem", 2)->accessible_name(), QStringLiteral("Magnet 3 Offset"));
        QCOMPARE(form->item("LimitUBItem", 1)->accessible_name(), QStringLiteral("Limit 2 Upper Bound"));
    }
};

QTEST_MAIN(TestSetupForm)
#include "tst_setupform.moc"
