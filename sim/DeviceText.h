// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QtGlobal>

// How the simulated device writes and reads the value texts of its commands. Its own
// small rules, independent of the application's number texts.
namespace DeviceText {

// Decimal text with at most `digits` significant digits, no exponent, no trailing zeros
// after the point, "0" for zero (never "-0").
QString significant(double value, int digits = 7);
// Fixed number of decimals, never "-0.000".
QString fixed(double value, int decimals);

// Strict parsers: the whole text (blanks around it allowed) must be the number.
bool parseInteger(const QString &text, qint64 *value);
bool parseReal(const QString &text, double *value);   // sign, digits, point, exponent
bool parseHex(const QString &text, quint32 *value);   // 1 to 8 hex digits, either case

// Upper-case hex digits without leading zeros ("0" for zero).
QString hex(quint32 value);

// Units per inch of the device's length units, by the index of the "PU" choice.
double unitsPerInch(int unit);

} // namespace DeviceText
