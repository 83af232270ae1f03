// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "catalogue/SetupForm.h"

#include "model/EditTracker.h"
#include "model/ParameterTable.h"
#include "items/FloatItem.h"
#include "items/HexItem.h"
#include "items/IntegerItem.h"
#include "items/ListItem.h"
#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/IntegerSetting.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using ParameterTable::Kind;
using ParameterTable::Parameter;

namespace {

// Where things sit on each tab: columns, top to bottom. "name(*)" is a control array
// whose elements share one spot; "label:x" a section label; "frame:magoff" the
// per-magnet offset frame; "combo:limit" the limit-switch selector.
const QList<QList<QStringList>> &tabLayout()
{
    static const QList<QList<QStringList>> layout{
        // Display
        {{"PlacesItem", "DisplayUpdateItem", "LeadingZerosItem"}},
        // Position
        {{"UnitsItem", "ResolutionItem", "ScaleItem", "HOffsetItem", "SOffsetItem", "DirectionItem"},
         {"DispModeItem", "MagnetItem", "GapItem", "ReferenceItem", "frame:magoff"}},
        // Transducer
        {{"TTypeItem", "MagnetsItem", "AutoDetectItem", "label:ssilabel", "SSIBitsItem", "SSIErrItem",
          "SSIMaskItem"},
         {"label:digitallabel", "GradientItem", "label:startstoplabel", "HoldoffItem", "label:pwmlabel",
          "RecircsItem", "label:canlabel", "CanBaudItem", "CanSerialItem"}},
        // Analog Out
        {{"VRangeItem", "ATypeItem", "AStartItem", "ARangeItem", "AForcePercentItem"}},
        // Dig Inputs
        {{"DigInItem(0)", "DigInItem(1)"}},
        // Front Panel
        {{"ButtonTouchItem(0)", "ButtonTouchItem(1)", "ButtonTouchItem(2)", "ButtonTouchItem(3)",
          "ButtonTouchItem(4)", "ButtonTouchItem(5)"},
         {"ButtonHoldItem(0)", "ButtonHoldItem(1)", "ButtonHoldItem(2)", "ButtonHoldItem(3)", "ButtonHoldItem(4)",
          "ButtonHoldItem(5)"}},
        // Limit Sw
        {{"combo:limit", "LimitLBItem(*)", "LimitUBItem(*)", "LimitMagItem(*)", "LimitActItem(*)"}},
        // Presets
        {{"PresetItem(0)", "PresetItem(1)", "PresetItem(2)", "PresetItem(3)"},
         {"PresetItem(4)", "PresetItem(5)", "PresetItem(6)", "PresetItem(7)"}},
    };
    return layout;
}

const QList<QPair<QString, QString>> &sectionLabels()
{
    static const QList<QPair<QString, QString>> labels{
        {"ssilabel", "SSI Configuration:"},
        {"startstoplabel", "Start/Stop Configuration:"},
        {"pwmlabel", "PWM Configuration:"},
        {"digitallabel", "Start/Stop and PWM Configuration:"},
        {"canlabel", "CANbus Configuration:"},
    };
    return labels;
}

// Availability by transducer type: which of the nine items and five labels look active.
struct AvailabilityRow
{
    QList<int> types;
    QStringList on;
};

const QStringList &availabilityControls()
{
    static const QStringList controls{"SSIBitsItem", "SSIErrItem", "SSIMaskItem", "ResolutionItem",
                                      "GradientItem", "HoldoffItem", "CanBaudItem", "CanSerialItem",
                                      "RecircsItem", "ssilabel", "digitallabel", "startstoplabel",
                                      "canlabel", "pwmlabel"};
    return controls;
}

const QList<AvailabilityRow> &availabilityRows()
{
    static const QList<AvailabilityRow> rows{
        {{0, 1, 2}, {"SSIBitsItem", "SSIErrItem", "SSIMaskItem", "ResolutionItem", "ssilabel"}},
        {{3, 6}, {"GradientItem", "HoldoffItem", "digitallabel", "startstoplabel"}},
        {{4}, {"GradientItem", "RecircsItem", "digitallabel", "pwmlabel"}},
        {{5}, {"ResolutionItem", "CanBaudItem", "CanSerialItem", "canlabel"}},
    };
    return rows;
}

SetupItem *createItem(Setting *setting, QWidget *parent)
{
    switch (setting->parameter()->kind) {
    case Kind::Integer:
        return new IntegerItem(static_cast<IntegerSetting *>(setting), parent);
    case Kind::Float:
        return new FloatItem(static_cast<FloatSetting *>(setting), parent);
    case Kind::List:
        return new ListItem(static_cast<ListSetting *>(setting), parent);
    case Kind::Hex:
        return new HexItem(static_cast<HexSetting *>(setting), parent);
    }
    return nullptr;
}

QLabel *titleOf(SetupItem *item)
{
    return item->findChild<QLabel *>(QStringLiteral("TitleLabel"));
}

} // namespace

SetupForm::SetupForm(SettingsSet *settings, QTabWidget *tabs, QObject *parent)
    : QObject(parent), m_settings(settings), m_tabs(tabs)
{
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    fitCaptions();
    // Should counts of changed fields make the captions too wide even so, they shorten in
    // the middle, so the name's start and the count stay readable.
    m_tabs->tabBar()->setElideMode(Qt::ElideMiddle);
    for (const QString &caption : ParameterTable::tabs()) {
        auto *page = new QWidget;
        page->setObjectName(caption);
        m_tabs->addTab(page, caption);
    }
    createItems();
    layOut();
}

void SetupForm::createItems()
{
    const QStringList &tabs = ParameterTable::tabs();
    for (Setting *setting : m_settings->item_list()) {
        const Parameter &p = *setting->parameter();
        SetupItem *item = createItem(setting, m_tabs->widget(tabs.indexOf(p.tab)));
        item->setObjectName(p.name());
        m_items.insert(p.name(), item);
        connect(setting, &Setting::changed, this, &SetupForm::itemChanged);
        connect(setting, &Setting::selectionChanged, this, &SetupForm::update_disabled);
    }
    for (const auto &label : sectionLabels()) {
        auto *l = new QLabel(label.second);
        l->setObjectName(label.first);
        m_labels.insert(label.first, l);
    }

    m_magOffCombo = new QComboBox;
    m_magOffCombo->setObjectName(QStringLiteral("MagOffCombo"));
    for (int n = 1; n <= 15; ++n)
        m_magOffCombo->addItem(QStringLiteral("Magnet %1 Offset").arg(n));
    connect(m_magOffCombo, &QComboBox::currentIndexChanged, this, &SetupForm::onMagOffSelected);

    m_limitCombo = new QComboBox;
    m_limitCombo->setObjectName(QStringLiteral("LimitCombo"));
    for (int n = 1; n <= 5; ++n)
        m_limitCombo->addItem(QStringLiteral("Digital Output %1").arg(n));
    connect(m_limitCombo, &QComboBox::currentIndexChanged, this, &SetupForm::onLimitSelected);
}

void SetupForm::layOut()
{
    for (int t = 0; t < tabLayout().size(); ++t) {
        QWidget *page = m_tabs->widget(t);
        auto *columns = new QHBoxLayout(page);
        columns->setContentsMargins(10, 10, 10, 6);
        columns->setSpacing(18);
        for (const QStringList &column : tabLayout().at(t)) {
            auto *rows = new QVBoxLayout;
            rows->setSpacing(4);
            for (const QString &entry : column)
                rows->addWidget(placeEntry(entry, page));
            rows->addStretch(1);
            columns->addLayout(rows);
        }
        columns->addStretch(1);
    }
}

QWidget *SetupForm::placeEntry(const QString &entry, QWidget *page)
{
    if (entry.startsWith(QLatin1String("label:"))) {
        QLabel *label = m_labels.value(entry.mid(6));
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setContentsMargins(0, 6, 0, 0);
        return label;
    }
    if (entry == QLatin1String("combo:limit")) {
        auto *row = new QWidget(page);
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 8);
        h->addWidget(m_limitCombo);
        h->addStretch(1);
        return row;
    }
    if (entry == QLatin1String("frame:magoff")) {
        auto *frame = new QGroupBox(QStringLiteral("Per Magnet Offsets"), page);
        frame->setObjectName(QStringLiteral("Frame2"));
        auto *v = new QVBoxLayout(frame);
        v->setContentsMargins(8, 6, 8, 6);
        v->addWidget(m_magOffCombo);
        m_magOffSpot = new QGridLayout;
        for (int i = 0; i < 15; ++i)
            m_magOffSpot->addWidget(item(QStringLiteral("MagOffItem"), i), 0, 0);
        v->addLayout(m_magOffSpot);
        return frame;
    }
    if (entry.endsWith(QLatin1String("(*)"))) {
        // Every element of the array in one spot; the selector shows one at a time.
        const QString control = entry.chopped(3);
        auto *spot = new QWidget(page);
        auto *grid = new QGridLayout(spot);
        grid->setContentsMargins(0, 0, 0, 0);
        for (int i = 0;; ++i) {
            SetupItem *element = item(control, i);
            if (!element)
                break;
            grid->addWidget(element, 0, 0);
        }
        // Both bounds of a switch carry the same title; a hint tells them apart.
        const QString hint = control == QLatin1String("LimitLBItem")   ? QStringLiteral("lower")
                             : control == QLatin1String("LimitUBItem") ? QStringLiteral("upper")
                                                                       : QString();
        if (!hint.isEmpty()) {
            auto *label = new QLabel(hint, spot);
            label->setEnabled(false);
            grid->addWidget(label, 0, 1);
            grid->setColumnStretch(2, 1);
        }
        return spot;
    }
    return m_items.value(entry);
}

void SetupForm::build_catalogue()
{
    for (SetupItem *target : std::as_const(m_items)) {
        const Parameter &p = *target->setting()->parameter();
        // Named apart where the titles do not tell the items apart.
        if (p.distinctTitle() != p.title)
            target->setAssistiveName(p.distinctTitle());
        // The selector above names the magnet; the empty title would show a lone colon.
        if (p.control == QLatin1String("MagOffItem"))
            titleOf(target)->hide();
    }
    m_limitCombo->setCurrentIndex(0);
    onLimitSelected(0);
    m_magOffCombo->setCurrentIndex(0);
    onMagOffSelected(0);
    alignTitles();
}

// Titles of one column share the width of the longest, so editors line up.
void SetupForm::alignTitles()
{
    for (int t = 0; t < tabLayout().size(); ++t) {
        for (const QStringList &column : tabLayout().at(t)) {
            QList<QLabel *> titles;
            for (const QString &entry : column) {
                const QString control = entry.endsWith(QLatin1String("(*)")) ? entry.chopped(3) : entry;
                for (SetupItem *it : std::as_const(m_items)) {
                    const QString name = it->objectName();
                    if (name == control || name.startsWith(control + QLatin1Char('(')))
                        titles.append(titleOf(it));
                }
            }
            int width = 0;
            for (QLabel *l : std::as_const(titles))
                width = qMax(width, l->sizeHint().width());
            for (QLabel *l : std::as_const(titles))
                l->setFixedWidth(width);
        }
    }
}

void SetupForm::update_disabled()
{
    const int k = m_settings->ttypeItem()->getindex();
    for (const AvailabilityRow &row : availabilityRows()) {
        if (!row.types.contains(k))
            continue;
        for (const QString &control : availabilityControls()) {
            const bool on = row.on.contains(control);
            if (SetupItem *it = item(control))
                it->enable(on);
            else if (QLabel *label = m_labels.value(control))
                label->setEnabled(on);
        }
        return;
    }
}

void SetupForm::showMarks(const EditTracker &tracker)
{
    const QStringList &captions = ParameterTable::tabs();
    QList<int> counts(captions.size(), 0);
    for (Setting *setting : m_settings->item_list()) {
        const bool on = tracker.isEdited(setting);
        itemFor(setting)->setChangedMark(on);
        const int tab = int(captions.indexOf(setting->parameter()->tab));
        if (on && tab >= 0)
            ++counts[tab];
    }
    for (int i = 0; i < captions.size() && i < m_tabs->count(); ++i) {
        const QString text =
            counts.at(i) ? QStringLiteral("%1 (%2)").arg(captions.at(i)).arg(counts.at(i)) : captions.at(i);
        if (m_tabs->tabText(i) != text)
            m_tabs->setTabText(i, text);
    }
    fitCaptions();
}

void SetupForm::fitCaptions()
{
    // Eight plain captions fit the window's width without scroll arrows; captions with
    // counts take room from the padding first.
    QTabBar *bar = m_tabs->tabBar();
    for (int padding = 8; padding >= 2; padding -= 2) {
        const QString sheet = QStringLiteral("QTabBar::tab { padding: 4px %1px; }").arg(padding);
        if (bar->styleSheet() != sheet)
            bar->setStyleSheet(sheet);
        // Before the form is laid out there is no width to fit.
        if (m_tabs->width() <= 100 || bar->sizeHint().width() <= m_tabs->width())
            return;
    }
}

void SetupForm::showSetting(const Setting *setting)
{
    SetupItem *target = itemFor(setting);
    if (!target)
        return;
    const Parameter &p = *setting->parameter();
    m_tabs->setCurrentIndex(int(ParameterTable::tabs().indexOf(p.tab)));
    if (p.control == QLatin1String("MagOffItem"))
        m_magOffCombo->setCurrentIndex(p.index);
    else if (p.control.startsWith(QLatin1String("Limit")) && p.index >= 0)
        m_limitCombo->setCurrentIndex(p.index);
    target->focusEditor();
}

SetupItem *SetupForm::item(const QString &control, int index) const
{
    Parameter key;
    key.control = control;
    key.index = index;
    return m_items.value(key.name());
}

SetupItem *SetupForm::itemFor(const Setting *setting) const
{
    return setting && setting->parameter() ? m_items.value(setting->parameter()->name()) : nullptr;
}

QComboBox *SetupForm::magOffCombo() const
{
    return m_magOffCombo;
}

QComboBox *SetupForm::limitCombo() const
{
    return m_limitCombo;
}

QLabel *SetupForm::sectionLabel(const QString &name) const
{
    return m_labels.value(name);
}

void SetupForm::onMagOffSelected(int index)
{
    for (int i = 0; i < 15; ++i)
        if (SetupItem *it = item(QStringLiteral("MagOffItem"), i))
            it->setVisible(i == index);
}

void SetupForm::onLimitSelected(int index)
{
    static const QStringList controls{"LimitLBItem", "LimitUBItem", "LimitMagItem", "LimitActItem"};
    for (int i = 0; i < 5; ++i)
        for (const QString &control : controls)
            if (SetupItem *it = item(control, i))
                it->setVisible(i == index);
}
