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
    addValueField([setting](const QString &text) { setting->editText(text); });
    m_unitsCombo = new QComboBox(this);
    m_unitsCombo->setObjectName(QStringLiteral("UnitsCombo"));
    m_unitsCombo->setEditable(false);
    m_unitsCombo->addItems(LengthUnits::selectorTexts());
    addEditor(m_unitsCombo, tr("unit"));
    showUnit();
    connect(setting, &FloatSetting::displayChanged, this, &FloatItem::showUnit);
    connect(setting, &FloatSetting::unitsChanged, this, &FloatItem::showUnit);
    connect(m_unitsCombo, &QComboBox::currentIndexChanged, setting, &FloatSetting::selectUnit);
    connect(m_unitsCombo, &QComboBox::activated, setting, [setting](int index) {
        if (index == setting->displayUnit())
            setting->selectUnit(index);
    });
    m_unitsCombo->installEventFilter(this);
}

void FloatItem::showUnit()
{
    const QSignalBlocker quiet(m_unitsCombo);
    m_unitsCombo->setVisible(m_float->hasUnits());
    m_unitsCombo->setCurrentIndex(m_float->displayUnit());
}

bool FloatItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_unitsCombo && event->type() == QEvent::FocusOut && m_float->hasUnits()
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        m_float->selectUnit(m_unitsCombo->currentIndex());
    return SetupItem::eventFilter(watched, event);
}
