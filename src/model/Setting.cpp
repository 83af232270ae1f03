// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/Setting.h"

#include "link/ParameterLink.h"
#include "model/LengthUnits.h"

Setting::Setting(const SettingContext &context, QObject *parent) : QObject(parent), m_context(context) {}

void Setting::set_serstring(const QString &s)
{
    m_code = s;
}

void Setting::set_title(const QString &t)
{
    m_title = t + QLatin1Char(':');
}

ExchangeResult Setting::ser_read()
{
    using Kind = ExchangeResult::Kind;
    if (!link() || !link()->sendrcv_nodeid(QStringLiteral("R") + m_code, false))
        return {Kind::NoReply, QString()};
    const QString reply = link()->rcvstring();
    if (ExchangeResult::isRefusal(reply))
        return {Kind::Refused, reply};
    if (!is_value(reply) || !take(reply))
        return {Kind::NotAValue, reply};
    return {Kind::Done, QString()};
}

ExchangeResult Setting::ser_write()
{
    using Kind = ExchangeResult::Kind;
    const QString value = wire_value();
    if (!link() || value.isNull())
        return {Kind::NoReply, QString()};
    link()->write_enable(true);
    if (!link()->sendrcv_nodeid(QStringLiteral("S") + m_code + value, false))
        return {Kind::NoReply, QString()};
    const QString reply = link()->rcvstring();
    if (ExchangeResult::isRefusal(reply))
        return {Kind::Refused, reply};
    return {Kind::Done, QString()};
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

bool Setting::same_on_wire(const Setting &other, int units) const
{
    return wire_value_in(units) == other.wire_value_in(units);
}

bool Setting::take_value_of(const Setting &other)
{
    const int units = context().units ? context().units->current_units() : 0;
    const bool same = same_on_wire(other, units);
    if (!adopt(other))
        return false;
    if (!same)
        note_edit();
    return true;
}

void Setting::note_edit()
{
    ++m_edits;
    emit edited();
}

void Setting::edit_to(const QString &text)
{
    if (show_text(text))
        note_edit();
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
