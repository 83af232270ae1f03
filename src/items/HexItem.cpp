// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "items/HexItem.h"

#include "model/HexSetting.h"

#include <QFocusEvent>
#include <QLineEdit>

HexItem::HexItem(HexSetting *setting, QWidget *parent) : SetupItem(setting, parent), m_hex(setting)
{
    m_value = addValueField([setting](const QString &text) { setting->editText(text); });
    m_value->installEventFilter(this);
}

bool HexItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_value && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        m_hex->normalise();
    return SetupItem::eventFilter(watched, event);
}
