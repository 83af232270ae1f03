// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ListSetting.h"

void ListSetting::set_all(const QString &s, const QString &t)
{
    set_serstring(s);
    set_title(t);
}

void ListSetting::init_list()
{
    m_displays.clear();
    m_tokens.clear();
    m_index = -1;
    emit choicesChanged();
}

void ListSetting::add_item(const QString &display, const QString &token)
{
    if (m_tokens.size() >= MaxChoices)
        return;
    m_tokens.append(token);
    m_displays.append(display);
    emit choicesChanged();
    select(0);
}

QString ListSetting::token(int index) const
{
    return index >= 0 && index < m_tokens.size() ? m_tokens.at(index) : QString();
}

QString ListSetting::valueText() const
{
    return m_index >= 0 && m_index < m_displays.size() ? m_displays.at(m_index) : QString();
}

void ListSetting::set_value(const QString &token)
{
    take(token);
}

bool ListSetting::take(const QString &text)
{
    const int i = int(m_tokens.indexOf(text));
    if (i < 0)
        return false;
    select(i);
    return true;
}

void ListSetting::choose(int index)
{
    if (index < -1 || index >= m_tokens.size())
        return;
    const bool moved = index != m_index;
    select(index);
    if (moved)
        noteEdit();
}

void ListSetting::validate()
{
    emit changed();
    emit selectionChanged();
}

void ListSetting::select(int index)
{
    const bool moved = index != m_index;
    m_index = index;
    if (moved)
        emit displayChanged();
    // Choosing the entry already chosen is a selection all the same.
    validate();
}
