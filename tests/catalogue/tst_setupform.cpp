#include "FakeLink.h"
#include "catalogue/ParameterTable.h"
#include "catalogue/SetupForm.h"
#include "items/LengthUnits.h"
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

    void editsRaiseTheChangeMark()
    {
        QSignalSpy spy(form, &SetupForm::itemChanged);
        auto *edit = form->item("PlacesItem")->findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, "4");
        QVERIFY(spy.count() >= 1);
        const int before = spy.count();
        listCombo("DirectionItem")->setCurrentIndex(1);
        QVERIFY(spy.count() > before);
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
