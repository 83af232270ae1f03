// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/LengthUnits.h"

#include "model/NumberText.h"

LengthUnits::LengthUnits()
{
    for (int unit = 0; unit < Count; ++unit)
        m_factor[unit] = float(PerInch[size_t(unit)]); // computed in double, stored as a single
    m_factor[Count] = 0.0f; // names no unit
}

float LengthUnits::factor(int unit) const
{
    return unit >= 0 && unit <= 5 ? m_factor[unit] : 0.0f;
}

float LengthUnits::convert_length(double value, int from, int to) const
{
    const float v = NumberText::toSingle(value);
    const auto usable = [this](int unit) {
        const float f = isValid(unit) ? m_factor[unit] : 0.0f;
        return f != 0.0f ? double(f) : 1.0;
    };
    const double f = usable(from);
    const double t = usable(to);
    if (f == t)
        return v;
    return NumberText::toSingle(double(v) / f * t);
}

int LengthUnits::current_units() const
{
    return m_current;
}

void LengthUnits::setCurrentUnits(int unit)
{
    m_current = unit;
}

QStringList LengthUnits::selectorTexts()
{
    return {QStringLiteral("Inches"), QStringLiteral("Feet"), QStringLiteral("CM"), QStringLiteral("MM"),
            QStringLiteral("Meters")};
}

bool LengthUnits::isValid(int unit)
{
    return unit >= 0 && unit < Count;
}
