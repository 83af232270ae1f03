// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/NumberText.h"

#include "link/LeadingNumber.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace NumberText {
namespace {

// A number as decimal digits: value = 0.d1d2d3... x 10^(exponent + 1), that is the first
// digit stands for 10^exponent. Digits carry no trailing zeros; zero has no digits.
struct Decimal
{
    bool negative = false;
    QByteArray digits;
    int exponent = 0;
};

void trimTrailingZeros(Decimal &d)
{
    while (!d.digits.isEmpty() && d.digits.endsWith('0'))
        d.digits.chop(1);
    if (d.digits.isEmpty())
        d.negative = false;
}

// Digits of a C-library number text ("-12.5", "1.25e+03"); the exponent is taken from
// the position of the first non-zero digit.
Decimal parseDecimal(const char *p)
{
    Decimal d;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    int pointPos = -1; // digits before the point
    int count = 0;
    int leadingZeros = 0;
    bool seenNonZero = false;
    for (; *p && *p != 'e'; ++p) {
        if (*p == '.') {
            pointPos = count;
            continue;
        }
        if (*p < '0' || *p > '9')
            continue;
        ++count;
        if (!seenNonZero && *p == '0') {
            ++leadingZeros;
            continue;
        }
        seenNonZero = true;
        d.digits.append(*p);
    }
    if (pointPos < 0)
        pointPos = count;
    int exp10 = (*p == 'e') ? std::atoi(p + 1) : 0;
    d.exponent = pointPos - leadingZeros - 1 + exp10;
    trimTrailingZeros(d);
    return d;
}

// Rounded to a number of significant digits (correct rounding of the binary value), by
// Qt's formatting, which, unlike the C library's, does not follow the system's locale: a
// decimal comma would change what goes on the wire.
Decimal significant(double value, int count)
{
    if (!std::isfinite(value) || value == 0)
        return Decimal();
    return parseDecimal(QByteArray::number(value, 'e', count - 1).constData());
}

// Rounds half away from zero to a number of decimals, on the decimal digits themselves.
Decimal roundDecimals(Decimal d, int decimals)
{
    if (d.digits.isEmpty())
        return d;
    const int keep = d.exponent + 1 + decimals; // digits that stay
    if (keep >= d.digits.size())
        return d;
    if (keep < 0) {
        d.digits.clear();
        trimTrailingZeros(d);
        return d;
    }
    const bool up = d.digits.at(keep) >= '5';
    d.digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits.at(i) == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            d.digits[i] = char(d.digits.at(i) + 1);
        } else {
            d.digits.prepend('1');
            ++d.exponent;
        }
    }
    trimTrailingZeros(d);
    return d;
}

// Plain positional text with at least minDecimals digits after the point (zeros added).
QString positional(const Decimal &d, bool zeroBeforePoint, int minDecimals)
{
    QString intPart;
    QString frac;
    if (d.digits.isEmpty()) {
        intPart = QStringLiteral("0");
    } else if (d.exponent >= 0) {
        const QString all = QString::fromLatin1(d.digits);
        if (all.size() > d.exponent + 1) {
            intPart = all.left(d.exponent + 1);
            frac = all.mid(d.exponent + 1);
        } else {
            intPart = all + QString(d.exponent + 1 - all.size(), QLatin1Char('0'));
        }
    } else {
        intPart = QStringLiteral("0");
        frac = QString(-d.exponent - 1, QLatin1Char('0')) + QString::fromLatin1(d.digits);
    }
    if (frac.size() < minDecimals)
        frac += QString(minDecimals - frac.size(), QLatin1Char('0'));
    QString text;
    if (d.negative)
        text += QLatin1Char('-');
    if (intPart != QLatin1String("0") || zeroBeforePoint || frac.isEmpty())
        text += intPart;
    if (!frac.isEmpty())
        text += QLatin1Char('.') + frac;
    return text;
}

// A magnitude of 1E15 or more (1E7 for singles) or below 1E-5 is written as a mantissa
// and a signed exponent of at least two digits, as BASIC prints it: 1E-06, 1.5E+15.
QString numberText(double value, int significantDigits, bool zeroBeforePoint)
{
    const Decimal d = significant(value, significantDigits);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    if (d.exponent >= significantDigits || d.exponent < -5) {
        QString text;
        if (d.negative)
            text += QLatin1Char('-');
        text += QLatin1Char(d.digits.at(0));
        if (d.digits.size() > 1)
            text += QLatin1Char('.') + QString::fromLatin1(d.digits.mid(1));
        text += QLatin1Char('E');
        text += d.exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
        text += QString::number(std::abs(d.exponent)).rightJustified(2, QLatin1Char('0'));
        return text;
    }
    return positional(d, zeroBeforePoint, 0);
}

QString displayText(Decimal d, int minDecimals, int maxDecimals)
{
    d = roundDecimals(d, maxDecimals);
    return positional(d, true, minDecimals);
}

} // namespace

double leadingValue(const QString &text)
{
    return LeadingNumber::value(text);
}

bool hasLeadingNumber(const QString &text)
{
    bool found = false;
    LeadingNumber::value(text, &found);
    return found;
}

bool hasLeadingHexDigit(const QString &text)
{
    return LeadingNumber::startsWithHexDigit(text);
}

qint16 roundInt16(double value, bool *ok)
{
    bool good = std::isfinite(value);
    double r = 0;
    if (good) {
        r = std::nearbyint(value); // the default rounding mode takes halves to even
        good = r >= -32768.0 && r <= 32767.0;
    }
    if (ok)
        *ok = good;
    return good ? qint16(r) : qint16(0);
}

float toSingle(double value)
{
    if (std::isnan(value))
        return 0.0f;
    if (value > double(FLT_MAX))
        return FLT_MAX;
    if (value < -double(FLT_MAX))
        return -FLT_MAX;
    return float(value);
}

QString wireDouble(double value)
{
    return numberText(value, 15, true);
}

QString wireSingle(float value)
{
    return numberText(double(value), 7, true);
}

QString fileDouble(double value)
{
    return numberText(value, 15, false);
}

QString fileSingle(float value)
{
    return numberText(double(value), 7, false);
}

namespace {

constexpr int MaxDecimals = 20;

// Decimals needed to show every significant digit of d.
int decimalsOf(const Decimal &d)
{
    return int(d.digits.size()) - d.exponent - 1;
}

} // namespace

QString displayDouble(double value)
{
    if (!std::isfinite(value))
        value = 0;
    // A value whose digits reach beyond the tenth decimal shows them, to the twentieth.
    const Decimal exact = significant(value, 15);
    if (decimalsOf(exact) > 10)
        return displayText(exact, 4, MaxDecimals);
    // Rounded at the tenth decimal from the binary value itself.
    return positional(parseDecimal(QByteArray::number(value, 'f', 10).constData()), true, 4);
}

QString displaySingle(float value)
{
    const Decimal d = significant(double(value), 7);
    return displayText(d, 4, qBound(10, decimalsOf(d), MaxDecimals));
}

QString displayPosition(float value)
{
    return displayText(significant(double(value), 7), 5, 5);
}

QString percentText(double value)
{
    if (!std::isfinite(value))
        return QString();
    const double r = std::round(value);
    if (r == 0)
        return QString();
    // A walk shows one for every exchange; whole numbers this small are written exactly.
    if (std::abs(r) < 1e9)
        return QString::number(qint64(r));
    return displayText(significant(r, 17), 0, 0);
}

qint32 hexValue(const QString &text, bool *ok)
{
    qint32 v = 0;
    const bool good = LeadingNumber::hexPattern(text, &v);
    if (ok)
        *ok = good;
    return good ? v : 0;
}

QString hexText(qint32 value)
{
    return QString::number(quint32(value), 16).toUpper();
}

QString paddedHexText(qint32 value)
{
    return hexText(value).rightJustified(8, QLatin1Char('0'));
}

} // namespace NumberText
