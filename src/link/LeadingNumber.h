// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cmath>
#include <limits>

// The leading number of a text, the one rule the device link and the settings read numbers
// by: blanks, tabs and line feeds anywhere are ignored; then an optional sign, digits with
// at most one decimal point and an optional exponent ("E" or "D"), or "&H" + hexadecimal
// digits, or "&O" + octal digits; reading stops at the first character that does not fit.
// Independent of the system's locale: the decimal point is always a full stop.
namespace LeadingNumber {

// The value; 0 when the text has no leading number (*found false), and a magnitude beyond
// the double range reads as the largest finite double of its sign, so the result is
// always finite. A pattern wider than 32 bits after "&H" or "&O" has no value (0).
double value(const QString &text, bool *found = nullptr);
// The hexadecimal digits the text starts with (blanks ignored) as a 32-bit pattern
// ("FFFF" is 65535, "FFFFFFFF" is -1); false when they need more than 32 bits.
bool hexPattern(const QString &text, qint32 *pattern);
// Whether the text, blanks ignored, starts with a hexadecimal digit.
bool startsWithHexDigit(const QString &text);

// The value as an integer, rounded halves to even; false when it does not fit the type
// (a text without a number reads 0).
template <typename Int>
bool integer(const QString &text, Int *result)
{
    const double rounded = std::nearbyint(value(text));
    if (!(rounded >= double(std::numeric_limits<Int>::min()) && rounded <= double(std::numeric_limits<Int>::max())))
        return false;
    *result = static_cast<Int>(rounded);
    return true;
}

} // namespace LeadingNumber
