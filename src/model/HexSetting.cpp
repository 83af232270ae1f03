// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/HexSetting.h"

#include "model/NumberText.h"

namespace {

qint32 typedValue(const QString &text)
{
    QString t = text.trimmed();
    if (t.size() > 8)
        t = t.right(8);
    return NumberText::hexValue(t);
}

} // namespace

void HexSetting::set_all(const QString &s, const QString &t, qint64 minval, qint64 maxval)
{
    set_serstring(s);
    set_title(t);
    set_limits(minval, maxval);
}

void HexSetting::set_limits(qint64 minval, qint64 maxval)
{
    const qint32 lo = qint32(quint32(quint64(minval)));
    const qint32 hi = qint32(quint32(quint64(maxval)));
    if (lo < hi) {
        m_min = lo;
        m_max = hi;
    }
}

void HexSetting::set_value(qint32 value)
{
    showText(NumberText::paddedHexText(value));
}

qint32 HexSetting::value() const
{
    bool ok = false;
    const qint32 v = NumberText::hexValue(text(), &ok);
    // Typed digits beyond 32 bits not yet normalised: what leaving the editor would show.
    return ok ? v : typedValue(text());
}

void HexSetting::normalise()
{
    set_value(typedValue(text()));
}

bool HexSetting::take(const QString &text)
{
    bool ok = false;
    const qint32 v = NumberText::hexValue(text, &ok);
    if (ok)
        set_value(v);
    return ok;
}

void HexSetting::setDefault(const QVariant &value)
{
    bool ok = false;
    const qint64 v = value.toLongLong(&ok);
    if (ok && v >= -2147483648LL && v <= 4294967295LL)
        set_value(qint32(quint32(quint64(v))));
}

bool HexSetting::isValue(const QString &reply) const
{
    return NumberText::hasLeadingHexDigit(reply);
}

QString HexSetting::wireValue() const
{
    return NumberText::hexText(value());
}

QString HexSetting::fileValue() const
{
    return NumberText::hexText(value());
}
