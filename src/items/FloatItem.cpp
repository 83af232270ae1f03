// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "items/FloatItem.h"

#include "model/FloatSetting.h"
#include "model/LengthUnits.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QSignalBlocker>

FloatItem::FloatItem(FloatSetting *setting, QWidget *parent)
    : SetupItem(setting, parent), m_float(setting)
{
    add_value_field([setting](const QString &text) { setting->edit_text(text); });
    m_unitsCombo = new QComboBox(this);
    m_unitsCombo->setObjectName(QStringLiteral("UnitsCombo"));
    m_unitsCombo->setEditable(false);
    m_unitsCombo->addItems(LengthUnits::selectorTexts());
    add_editor(m_unitsCombo, tr("unit"));
    show_unit();
    connect(setting, &FloatSetting::displayChanged, this, &FloatItem::show_unit);
    connect(setting, &FloatSetting::unitsChanged, this, &FloatItem::show_unit);
    connect(m_unitsCombo, &QComboBox::currentIndexChanged, setting, &FloatSetting::select_unit);
    connect(m_unitsCombo, &QComboBox::activated, setting, [setting](int index) {
        if (index == setting->display_unit())
            setting->select_unit(index);
    });
    m_unitsCombo->installEventFilter(this);
}

void FloatItem::show_unit()
{
    const QSignalBlocker quiet(m_unitsCombo);
    m_unitsCombo->setVisible(m_float->has_units());
    m_unitsCombo->setCurrentIndex(m_float->display_unit());
}

bool FloatItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_unitsCombo && event->type() == QEvent::FocusOut && m_float->has_units()
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        m_float->select_unit(m_unitsCombo->currentIndex());
    return SetupItem::eventFilter(watched, event);
}
