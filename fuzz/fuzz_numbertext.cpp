// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// Number texts: the leading-number value of any text, and for every number that reaches
// them the wire, file, display, progress and hex forms with their round trips.
#include "FuzzCheck.h"
#include "model/NumberText.h"

#include <QRegularExpression>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace NumberText;

namespace {

QString num(double v) { return QString::number(v, 'g', 17); }

// Patterns compiled once each, kept by the literal's address.
bool matches(const char *pattern, const QString &text)
{
    static QHash<const char *, QRegularExpression> compiled;
    const auto it = compiled.constFind(pattern);
    return (it != compiled.cend() ? *it : *compiled.insert(pattern, QRegularExpression(QLatin1String(pattern)))).match(text).hasMatch();
}

// Wire and file form of one value: their shape, how they differ, at most `digits`
// significant digits, and reading either back gives the value to that many digits.
void checkForms(double value, const QString &wire, const QString &file, int digits)
{
    const QString where = QStringLiteral("value ") + num(value) + QStringLiteral(" wire ") + wire + QStringLiteral(" file ") + file;
    FUZZ_CHECK(matches("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$", wire) || matches("^-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2,}$", wire), where);
    static const QRegularExpression leadingZero("^(-?)0\\."), signAndPoint("[-.]"), zerosAhead("^0+(?=[0-9])");
    FUZZ_CHECK(wire != QLatin1String("-0") && file == QString(wire).replace(leadingZero, "\\1."), where);
    FUZZ_CHECK(wire.section(QLatin1Char('E'), 0, 0).remove(signAndPoint).remove(zerosAhead).size() <= digits, where);
    // Rounded to `digits` significant digits; adding 0 makes -0 the same as 0. A value
    // exactly half way between two such numbers may go either way: then the text is within
    // half a unit of its last digit (and the few steps of a double reading it back).
    auto rounded = [digits](double v) { return QString::number(v + 0.0, 'e', digits - 1); };
    const double halfUnit = 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(value))) - digits + 1)
        + 4 * std::fabs(value) * DBL_EPSILON;
    for (const QString &text : {wire, file})
        FUZZ_CHECK(rounded(leadingValue(text)) == rounded(value) || std::fabs(leadingValue(text) - value) <= halfUnit,
                   where + " reads back as " + num(leadingValue(text)));
}

// The display patterns: "####0.0000######" (4 to 10 decimals, no trailing zero past the
// fourth; up to 20 where significant digits reach beyond the tenth) and the position's
// "####0.00000".
void checkDisplay(const QString &shown, double value, bool position, double tolerance, int digits = 15)
{
    const QString where = QStringLiteral("value ") + num(value) + QStringLiteral(" shown ") + FuzzCheck::visible(shown);
    FUZZ_CHECK(position ? matches("^-?[0-9]+\\.[0-9]{5}$", shown) : matches("^-?[0-9]+\\.[0-9]{4}([0-9]{0,15}[1-9])?$", shown), where);
    static const QRegularExpression leading("^-?0*\\.?0*");
    FUZZ_CHECK(position || shown.size() - shown.indexOf(QLatin1Char('.')) <= 11 || QString(shown).remove(leading).remove(QLatin1Char('.')).size() <= digits, where);
    FUZZ_CHECK(std::fabs(leadingValue(shown) - value) <= tolerance, where);
}

void checkDouble(double v)
{
    const QString where = num(v);
    bool ok = true;
    const qint16 i = roundInt16(v, &ok);
    FUZZ_CHECK(ok ? double(i) == std::nearbyint(v) : i == 0 && !(std::fabs(std::nearbyint(v)) <= 32767.0 || std::nearbyint(v) == -32768.0), where);

    const float s = toSingle(v);
    FUZZ_CHECK(std::isfinite(s) && (!(std::fabs(v) <= double(FLT_MAX)) || s == float(v)), where);
    checkForms(s, wireSingle(s), fileSingle(s), 7);
    checkDisplay(displaySingle(s), s, false, std::fabs(s) * 5.01e-7 + 5.01e-11, 7);
    checkDisplay(displayPosition(s), s, true, std::fabs(s) * 5.01e-7 + 5.01e-6);

    const QString percent = percentText(v);
    FUZZ_CHECK(!std::isfinite(v) || std::round(v) == 0 ? percent.isEmpty() : matches("^-?[1-9][0-9]*$", percent) && leadingValue(percent) == std::round(v),
               where + " percent " + percent);
    if (!std::isfinite(v))
        return;
    checkForms(v, wireDouble(v), fileDouble(v), 15);
    checkDisplay(displayDouble(v), v, false, std::fabs(v) * 4.5e-16 + 5.0001e-11);
}

void checkHexPattern(qint32 value)
{
    const QString text = hexText(value), eight = paddedHexText(value);
    const QString where = QString::number(value) + QLatin1Char(' ') + text + QLatin1Char(' ') + eight;
    bool ok = false, okEight = false;
    FUZZ_CHECK(matches("^(0|[1-9A-F][0-9A-F]{0,7})$", text) && matches("^[0-9A-F]{8}$", eight) && eight.endsWith(text), where);
    FUZZ_CHECK(hexValue(text, &ok) == value && ok && hexValue(eight, &okEight) == value && okEight
                   && leadingValue(QStringLiteral("&H") + text) == double(value), where);
}

void checkText(const QString &text)
{
    bool ok = false;
    const qint32 h = hexValue(text, &ok);
    FUZZ_CHECK(std::isfinite(leadingValue(text)) && (ok || h == 0) && leadingValue("&H" + text) == double(h), FuzzCheck::visible(text));
    checkDouble(leadingValue(text));
    if (ok)
        checkHexPattern(h);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkText(QString::fromLatin1(bytes));
    checkText(QString::fromUtf8(bytes));
    // The raw bytes as numbers too, so that NaN, infinities, subnormals and every bit
    // pattern reach the forms, not only values that a text spells.
    double d = 0;
    float f = 0;
    qint32 pattern = 0; // the first bytes, zero-filled
    std::memcpy(&d, bytes.constData(), qMin(size, sizeof d));
    std::memcpy(&f, bytes.constData(), qMin(size, sizeof f));
    std::memcpy(&pattern, bytes.constData(), qMin(size, sizeof pattern));
    checkDouble(d);
    checkDouble(double(f));
    checkHexPattern(pattern);
    return 0;
}
