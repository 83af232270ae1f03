// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLink.h"
#include "ReferenceCatalogue.h"
#include "catalogue/SetupForm.h"
#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

class TestSetupForm : public QObject
{
    Q_OBJECT

    FakeLink link;
    SettingsSet *settings = nullptr;
    QTabWidget *tabs = nullptr;
    SetupForm *form = nullptr;

    QLineEdit *field(const QString &control) { return form->item(control)->findChild<QLineEdit *>("ValueText"); }
    static void leave(QWidget *editor)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(editor, &out);
    }
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
        settings = new SettingsSet(&link);
        tabs = new QTabWidget;
        tabs->resize(600, 340);
        form = new SetupForm(settings, tabs);
        form->build_catalogue();
        form->update_disabled();
    }
    void cleanup()
    {
        delete form;
        delete tabs;
        delete settings;
    }

    // Every editor sits on the tab its parameter belongs to, and showing its setting turns
    // to that tab. (The captions and their order are the shell's start-up test.)
    void tabsAndCaptions()
    {
        for (const Reference::Parameter &r : Reference::parameters()) {
            QWidget *page = form->item(r.control, r.index);
            QVERIFY2(page, qPrintable(r.name()));
            form->showSetting(settings->byControl(r.control, r.index));
            while (page && tabs->indexOf(page) < 0)
                page = page->parentWidget();
            QVERIFY2(page == tabs->currentWidget() && tabs->tabText(tabs->currentIndex()) == r.tab, qPrintable(r.name()));
        }
        QCOMPARE(form->item("PlacesItem")->title(), QStringLiteral("Decimal Places:"));
        QCOMPARE(form->sectionLabel("digitallabel")->text(), QStringLiteral("Start/Stop and PWM Configuration:"));
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
            QVERIFY2(form->item(name)->isEnabledLook() == on.contains(name), qPrintable(name));
        for (const QString &name : QStringList{"ssilabel", "digitallabel", "startstoplabel", "canlabel", "pwmlabel"})
            QVERIFY2(form->sectionLabel(name)->isEnabled() == on.contains(name), qPrintable(name));
        // Nothing else is ever greyed.
        QVERIFY(form->item("ScaleItem")->isEnabledLook());
        QVERIFY(form->item("TTypeItem")->isEnabledLook());
    }

    void anyListSelectionReappliesTheRow()
    {
        listCombo("TTypeItem")->setCurrentIndex(4);
        form->item("SSIBitsItem")->enable(true); // out of step on purpose
        QVERIFY(form->item("SSIBitsItem")->isEnabledLook());
        listCombo("UnitsItem")->setCurrentIndex(3);
        QVERIFY(!form->item("SSIBitsItem")->isEnabledLook());
        QVERIFY(form->item("RecircsItem")->isEnabledLook());
    }

    // The editors are views: what the user types, steps or picks reaches the setting, and
    // a value that arrives shows in the editor.
    void editorsAreViews()
    {
        QLineEdit *places = field("PlacesItem");
        places->selectAll();
        QTest::keyClicks(places, "4");
        QCOMPARE(settings->byCode("dP")->valueText(), QStringLiteral("4"));
        settings->byCode("dP")->take("2");
        QCOMPARE(places->text(), QStringLiteral("2"));
        auto *up = form->item("PlacesItem")->findChild<QToolButton *>("UpButton");
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(settings->byCode("dP")->valueText(), QStringLiteral("5")); // held to 1..5

        listCombo("DirectionItem")->setCurrentIndex(1);
        QCOMPARE(settings->byCode("PD")->make_file_write_str(), QStringLiteral("PDNEGATIVE"));
        settings->byCode("PD")->take("POSITIVE");
        QCOMPARE(listCombo("DirectionItem")->currentText(), QStringLiteral("Positive"));
        QSignalSpy validated(settings->byCode("PD"), &Setting::selectionChanged);
        leave(listCombo("DirectionItem"));
        QCOMPARE(validated.count(), 1);

        auto *offset = static_cast<FloatSetting *>(settings->byCode("PO"));
        auto *unit = form->item("HOffsetItem")->findChild<QComboBox *>("UnitsCombo");
        field("HOffsetItem")->setText("1");
        unit->setCurrentIndex(2);
        QCOMPARE(field("HOffsetItem")->text(), QStringLiteral("2.5400"));
        QCOMPARE(offset->displayUnit(), 2);
        field("HOffsetItem")->setText("2.123456789");
        leave(unit);
        QCOMPARE(field("HOffsetItem")->text(), QStringLiteral("2.123457"));
        field("HOffsetItem")->setText("3.123456789");
        emit unit->activated(2); // the entry already shown, picked again
        QCOMPARE(offset->valueText(), QStringLiteral("3.123457"));
        settings->units().setCurrentUnits(3);
        offset->reset_units();
        QCOMPARE(unit->currentText(), QStringLiteral("MM"));
        QVERIFY(!form->item("ScaleItem")->findChild<QComboBox *>("UnitsCombo")->isVisibleTo(form->item("ScaleItem")));

        field("SSIMaskItem")->setText(" 1a ");
        leave(field("SSIMaskItem"));
        QCOMPARE(settings->byCode("Xe")->valueText(), QStringLiteral("0000001A"));
        QCOMPARE(field("SSIMaskItem")->text(), QStringLiteral("0000001A"));
    }

    // Greying is a look: the editor stays editable and its setting still travels.
    void greyedStaysEditable()
    {
        SetupItem *item = form->item("PlacesItem");
        QLineEdit *edit = field("PlacesItem");
        item->enable(false);
        QCOMPARE(edit->palette().color(QPalette::Active, QPalette::Text),
                 edit->palette().color(QPalette::Disabled, QPalette::Text));
        QVERIFY(edit->isEnabled() && !edit->isReadOnly());
        item->enable(true);
        QVERIFY(edit->palette().color(QPalette::Active, QPalette::Text)
                != edit->palette().color(QPalette::Disabled, QPalette::Text));
    }

    void editorsAreNamedApart()
    {
        QSet<QString> names;
        for (SetupItem *item : tabs->findChildren<SetupItem *>()) {
            names.insert(item->assistiveName());
            QVERIFY(!item->assistiveName().isEmpty());
        }
        QCOMPARE(names.size(), 86);
        QCOMPARE(form->item("MagOffItem", 2)->assistiveName(), QStringLiteral("Magnet 3 Offset"));
        QCOMPARE(form->item("LimitUBItem", 1)->assistiveName(), QStringLiteral("Limit 2 Upper Bound"));
    }
};

QTEST_MAIN(TestSetupForm)
#include "tst_setupform.moc"
