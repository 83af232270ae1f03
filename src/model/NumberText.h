// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QtGlobal>

// Numbers as the device and the settings files write them. No widgets here: these
// functions decide what goes on the wire and into files.
namespace NumberText {

// The leading-number value of a text: blanks, tabs and line feeds anywhere are ignored;
// then an optional sign, digits with at most one decimal point and an optional exponent
// ("E" or "D"), or "&H" + hexadecimal digits, or "&O" + octal digits. A text without a
// leading number is 0. A magnitude beyond the double range reads as the largest finite
// double of its sign, so the result is always finite.
double leadingValue(const QString &text);
// Whether the text has a leading number at all (leadingValue does not read it as 0 for
// want of one): "7xyz" has, "ERR CMD", "TIMEOUT ERROR" and "" have not.
bool hasLeadingNumber(const QString &text);
// Whether the text, blanks ignored, starts with a hexadecimal digit.
bool hasLeadingHexDigit(const QString &text);

// Rounds to the nearest integer, halves to even. ok is false (and the result 0) when the
// rounded value does not fit a signed 16-bit integer or is not finite.
qint16 roundInt16(double value, bool *ok = nullptr);

// A double rounded to single precision; beyond the single range it is the largest finite
// single of that sign, and NaN is 0, so no conversion leaves the finite numbers.
float toSingle(double value);

// Wire form (write commands): "0.5", "-0.5", "12". File form (settings files): ".5",
// "-.5", "12". At most 15 significant digits for doubles, 7 for single precision.
// A magnitude of 1E15 or more (1E7 for singles) or below 1E-5 is written with an
// exponent of at least two digits, as BASIC prints it: "1.5E+15", "1E-06", "-2.5E+07".
QString wireDouble(double value);
QString wireSingle(float value);
QString fileDouble(double value);
QString fileSingle(float value);

// The display pattern "####0.0000######"; a single-precision value is formatted from
// its 7-significant-digit form (1 inch in CM shows 2.5400). A value with significant
// digits beyond the tenth decimal (7 for singles, 15 for doubles) shows them, up to the
// twentieth (8.333333E-07 shows 0.0000008333333), so the eye sees what is held.
QString displayDouble(double value);
QString displaySingle(float value);

// The magnet position pattern "####0.00000".
QString displayPosition(float value);

// The progress pattern "###": a whole number, halves away from zero, empty for 0.
QString percentText(double value);

// Hex value of a text, as "&H" + text: blanks ignored, hex digits read from the start.
// ok is false (and the result 0) when the text holds more significant digits than 32
// bits can carry. Up to 32 bits the digits are a bit pattern: "FFFF" is 65535 and
// "FFFFFFFF" is -1. leadingValue reads "&H"/"&O" texts the same way, and a pattern wider
// than 32 bits has the value 0 there.
qint32 hexValue(const QString &text, bool *ok = nullptr);
// Upper-case hex digits without leading zeros ("0" for zero); negatives as 32-bit
// two's complement.
QString hexText(qint32 value);
// hexText padded with "0" in front to eight characters.
QString paddedHexText(qint32 value);

} // namespace NumberText
