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
        showText(QString::number(value));
}

bool IntegerSetting::take(const QString &text)
{
    bool ok = false;
    const qint16 v = NumberText::roundInt16(NumberText::leadingValue(text), &ok);
    if (!ok || v < m_min || v > m_max)
        return false;
    set_value(v);
    return true;
}

void IntegerSetting::setDefault(const QVariant &value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (ok && v >= -32768 && v <= 32767)
        set_value(qint16(v));
}

bool IntegerSetting::isValue(const QString &reply) const
{
    return NumberText::hasLeadingNumber(reply);
}

QString IntegerSetting::wireValue() const
{
    return NumberText::wireDouble(NumberText::leadingValue(text()));
}

QString IntegerSetting::fileValue() const
{
    return NumberText::fileDouble(NumberText::leadingValue(text()));
}
