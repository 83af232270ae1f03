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
    if (!isValue(reply) || !take(reply))
        return {Kind::NotAValue, reply};
    return {Kind::Done, QString()};
}

ExchangeResult Setting::ser_write()
{
    using Kind = ExchangeResult::Kind;
    const QString value = wireValue();
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
    const QString value = fileValue();
    return value.isNull() ? QString() : m_code + value;
}

bool Setting::sameOnWire(const Setting &other, int units) const
{
    return wireValueIn(units) == other.wireValueIn(units);
}

bool Setting::takeValueOf(const Setting &other)
{
    const int units = context().units ? context().units->current_units() : 0;
    const bool same = sameOnWire(other, units);
    if (!adopt(other))
        return false;
    if (!same)
        noteEdit();
    return true;
}

void Setting::noteEdit()
{
    ++m_edits;
    emit edited();
}

void Setting::editTo(const QString &text)
{
    if (showText(text))
        noteEdit();
}

bool Setting::showText(const QString &text)
{
    if (text == m_text)
        return false;
    m_text = text;
    emit changed();
    emit displayChanged();
    return true;
}
