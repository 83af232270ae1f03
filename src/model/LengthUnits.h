// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

#include <array>

// The length-unit model: the single-precision factor table (units per inch), the one
// conversion of the system, and current_units, the device's length unit.
// 0 Inches, 1 Feet, 2 CM, 3 MM, 4 Meters.
class LengthUnits
{
public:
    static constexpr int Count = 5;
    // Units per inch in double precision; the device's table holds them as singles.
    static constexpr std::array<double, Count> PerInch{1.0, 1.0 / 12.0, 2.54, 25.4, 0.0254};

    LengthUnits(); // with the factor table filled
    float factor(int unit) const;

    // value / factor[from] * factor[to], in single precision. A unit outside 0 to 4
    // converts as Inches, so nothing reads outside the table.
    float convert_length(double value, int from, int to) const;

    int current_units() const;
    void setCurrentUnits(int unit);

    static QStringList selectorTexts(); // "Inches", "Feet", "CM", "MM", "Meters"
    static bool isValid(int unit);

private:
    float m_factor[6];
    int m_current = 0;
};
