#pragma once

#include <QStringList>

// The length-unit model: the single-precision factor table (units per inch), the one
// conversion of the system, and current_units, the device's length unit.
// 0 Inches, 1 Feet, 2 CM, 3 MM, 4 Meters.
class LengthUnits
{
public:
    static constexpr int Count = 5;

    LengthUnits();

    // Fills the factor table; done once at start-up before any item converts.
    void fill_factors();
    float factor(int unit) const;

    // value / factor[from] * factor[to], in single precision. A unit outside 0 to 4
    // (or a table not yet filled) converts as Inches, so nothing reads outside the table.
    float convert_length(double value, int from, int to) const;

    int current_units() const;
    void set_current_units(int unit);

    static QStringList selectorTexts(); // "Inches", "Feet", "CM", "MM", "Meters"
    static bool isValid(int unit);

private:
    float m_factor[6];
    int m_current = 0;
};
