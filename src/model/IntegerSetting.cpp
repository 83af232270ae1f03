// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/IntegerSetting.h"

#include "model/NumberText.h"

void IntegerSetting::set_all(const QString &s, const QString &t, qint16 minval, qint16 maxval)
{
    set_serstring(s);
    set_title(t);
    set_limits(minval, maxval);
}

void IntegerSetting::set_limits(qint16 minval, qint16 maxval)
{
    if (minval < maxval) {
        m_min = minval;
        m_max = maxval;
    }
    emit limitsChanged();
}

void IntegerSetting::set_value(qint16 value)
{
    if (value >= m_min && value <= m_max)
        show_text(QString::number(value));
}

bool IntegerSetting::take(const QString &text)
{
    bool ok = false;
    const qint16 v = NumberText::round_int16(NumberText::leading_value(text), &ok);
    if (!ok || v < m_min || v > m_max)
        return false;
    set_value(v);
    return true;
}

void IntegerSetting::set_default(const QVariant &value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (ok && v >= -32768 && v <= 32767)
        set_value(qint16(v));
}

bool IntegerSetting::is_value(const QString &reply) const
{
    return NumberText::has_leading_number(reply);
}

QString IntegerSetting::wire_value() const
{
    return NumberText::wire_double(NumberText::leading_value(text()));
}

QString IntegerSetting::file_value() const
{
    return NumberText::file_double(NumberText::leading_value(text()));
}
