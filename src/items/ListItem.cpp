// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "items/ListItem.h"

#include "model/ListSetting.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QSignalBlocker>

ListItem::ListItem(ListSetting *setting, QWidget *parent)
    : SetupItem(setting, parent), m_list(setting), m_combo(new QComboBox(this))
{
    m_combo->setObjectName(QStringLiteral("ListCombo"));
    m_combo->setEditable(false);
    addEditor(m_combo);
    fill();
    connect(setting, &ListSetting::choicesChanged, this, &ListItem::fill);
    connect(setting, &ListSetting::displayChanged, this, &ListItem::showChoice);
    connect(m_combo, &QComboBox::currentIndexChanged, setting, &ListSetting::choose);
    m_combo->installEventFilter(this);
}

void ListItem::fill()
{
    const QSignalBlocker quiet(m_combo);
    m_combo->clear();
    m_combo->addItems(m_list->displays());
    m_combo->setCurrentIndex(m_list->getindex());
}

void ListItem::showChoice()
{
    const QSignalBlocker quiet(m_combo);
    m_combo->setCurrentIndex(m_list->getindex());
}

bool ListItem::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the list validates it, which counts as a selection change.
    if (watched == m_combo && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        m_list->validate();
    return SetupItem::eventFilter(watched, event);
}
