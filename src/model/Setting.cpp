// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/Setting.h"

#include "link/ParameterLink.h"

Setting::Setting(const SettingContext &context, QObject *parent) : QObject(parent), m_context(context) {}

void Setting::set_serstring(const QString &s)
{
    m_code = s;
}

void Setting::set_title(const QString &t)
{
    m_title = t + QLatin1Char(':');
}

bool Setting::ser_read()
{
    if (!link() || !link()->sendrcv_nodeid(QStringLiteral("R") + m_code, false))
        return false;
    return take(link()->rcvstring());
}

void Setting::ser_write()
{
    const QString value = wire_value();
    if (!link() || value.isNull())
        return;
    link()->write_enable(true);
    link()->sendrcv_nodeid(QStringLiteral("S") + m_code + value, false);
}

bool Setting::check_file_read(const QString &s, bool *taken)
{
    // A setting not yet given a code owns no line.
    const bool mine = !m_code.isEmpty() && s.startsWith(m_code, Qt::CaseSensitive);
    const bool took = mine && take(s.mid(m_code.size()));
    if (taken)
        *taken = took;
    emit changed();
    return mine;
}

QString Setting::make_file_write_str() const
{
    const QString value = file_value();
    return value.isNull() ? QString() : m_code + value;
}

bool Setting::take_value_of(const Setting &other)
{
    const bool same = same_value(other);
    if (!adopt(other))
        return false;
    if (!same)
        emit edited();
    return true;
}

void Setting::edit_to(const QString &text)
{
    if (show_text(text))
        emit edited();
}

bool Setting::show_text(const QString &text)
{
    if (text == m_text)
        return false;
    m_text = text;
    emit changed();
    emit displayChanged();
    return true;
}
