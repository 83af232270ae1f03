// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "items/IntegerItem.h"

#include "items/SpinArrows.h"
#include "model/IntegerSetting.h"

#include <QLineEdit>

IntegerItem::IntegerItem(IntegerSetting *setting, QWidget *parent) : SetupItem(setting, parent)
{
    QLineEdit *field = addValueField([setting](const QString &text) { setting->editText(text); });
    m_upDown = new SpinArrows(field, this);
    m_upDown->setObjectName(QStringLiteral("UpDown"));
    addEditor(m_upDown, tr("step"));
    const auto follow = [this, setting] { m_upDown->setRange(setting->lowerLimit(), setting->upperLimit()); };
    follow();
    connect(setting, &IntegerSetting::limitsChanged, this, follow);
}
