// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/LeadingNumber.h"

#include <QByteArray>

#include <cfloat>

namespace LeadingNumber {
namespace {

int digitValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// The value of a run of digits in a radix, as a 32-bit pattern; false when the
// significant digits need more than 32 bits.
bool radixValue(const QString &text, int start, int radix, qint32 *value)
{
    quint64 v = 0;
    for (int i = start; i < text.size(); ++i) {
        const int digit = digitValue(text.at(i));
        if (digit < 0 || digit >= radix)
            break;
        v = v * quint64(radix) + quint64(digit);
        if (v > 0xFFFFFFFFull)
            return false;
    }
    *value = qint32(quint32(v));
    return true;
}

QString stripBlanks(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            out.append(c);
    }
    return out;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double value(const QString &text, bool *found)
{
    bool dummy = false;
    bool &got = found ? *found : dummy;
    got = false;
    const QString s = stripBlanks(text);
    if (s.size() >= 2 && s.at(0) == QLatin1Char('&')) {
        const QChar kind = s.at(1).toUpper();
        if (kind != QLatin1Char('H') && kind != QLatin1Char('O'))
            return 0;
        const int radix = kind == QLatin1Char('H') ? 16 : 8;
        qint32 v = 0;
        // A pattern wider than 32 bits has no value that fits: read as no number.
        if (!radixValue(s, 2, radix, &v))
            return 0;
        got = s.size() > 2 && digitValue(s.at(2)) >= 0 && digitValue(s.at(2)) < radix;
        return v;
    }

    QByteArray number;
    int i = 0;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        number.append(char(s.at(i++).unicode()));
    bool point = false;
    bool mantissaDigits = false;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (isAsciiDigit(c)) {
            mantissaDigits = true;
            number.append(char(c.unicode()));
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            number.append('.');
        } else {
            break;
        }
    }
    if (!mantissaDigits)
        return 0;
    got = true;
    if (i < s.size()) {
        const QChar e = s.at(i).toUpper();
        if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
            int j = i + 1;
            QByteArray exponent("e");
            if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
                exponent.append(char(s.at(j++).unicode()));
            bool expDigits = false;
            for (; j < s.size() && isAsciiDigit(s.at(j)); ++j) {
                expDigits = true;
                exponent.append(char(s.at(j).unicode()));
            }
            if (expDigits)
                number.append(exponent);
        }
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (ok)
        return v;
    // Beyond the double range: too small is 0; too large the largest finite value of its
    // sign, so every consumer keeps a finite number (and every limit test rejects it).
    if (number.contains("e-"))
        return 0;
    return number.startsWith('-') ? -DBL_MAX : DBL_MAX;
}

bool hexPattern(const QString &text, qint32 *pattern)
{
    return radixValue(stripBlanks(text), 0, 16, pattern);
}

bool startsWithHexDigit(const QString &text)
{
    const QString s = stripBlanks(text);
    return !s.isEmpty() && digitValue(s.at(0)) >= 0;
}

} // namespace LeadingNumber
