// Number texts: the leading-number value of any text, and for every number that reaches
// them the wire, file, display, progress and hex forms with their round trips.
#include "FuzzCheck.h"
#include "model/NumberText.h"

#include <QRegularExpression>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

using namespace NumberText;

namespace {

QString num(double v)
{
    return QString::number(v, 'g', 17);
}

// The value rounded to a number of significant digits, as the C library writes it.
QByteArray significant(double v, int digits)
{
    if (v == 0)
        return QByteArrayLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
    return QByteArray(buf);
}

bool matches(const QRegularExpression &re, const QString &text)
{
    return re.match(text).hasMatch();
}

int digitCount(const QString &numberText)
{
    // Significant digits of the mantissa: leading zeros do not count.
    int count = 0;
    bool started = false;
    for (const QChar c : numberText) {
        if (c == QLatin1Char('E'))
            break;
        if (!c.isDigit())
            continue;
        if (c != QLatin1Char('0'))
            started = true;
        if (started)
            ++count;
    }
    return count;
}

// Wire and file form of one value: their shape, how they differ, and that reading either
// back gives the value again to `digits` significant digits.
void checkForms(double value, const QString &wire, const QString &file, int digits)
{
    static const QRegularExpression plain(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$"));
    static const QRegularExpression exponent(QStringLiteral("^-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2,}$"));
    const QString where = QStringLiteral("value %1 wire %2 file %3").arg(num(value), wire, file);

    FUZZ_CHECK(matches(plain, wire) || matches(exponent, wire), where);
    FUZZ_CHECK(wire != QLatin1String("-0"), where);
    if (wire.startsWith(QLatin1String("0.")))
        FUZZ_CHECK(file == wire.mid(1), where);
    else if (wire.startsWith(QLatin1String("-0.")))
        FUZZ_CHECK(file == QLatin1Char('-') + wire.mid(2), where);
    else
        FUZZ_CHECK(file == wire, where);
    FUZZ_CHECK(digitCount(wire) <= digits, where);

    const QByteArray want = significant(value, digits);
    FUZZ_CHECK(significant(leading_value(wire), digits) == want,
               where + QStringLiteral(" reads back as %1").arg(num(leading_value(wire))));
    FUZZ_CHECK(significant(leading_value(file), digits) == want,
               where + QStringLiteral(" reads back as %1").arg(num(leading_value(file))));
}

void checkDisplay(const QString &shown, double value, int minDecimals, int maxDecimals, double tolerance)
{
    static const QRegularExpression value4to10(QStringLiteral("^-?[0-9]+\\.[0-9]{4,10}$"));
    static const QRegularExpression position5(QStringLiteral("^-?[0-9]+\\.[0-9]{5}$"));
    const QRegularExpression &pattern = minDecimals == 4 ? value4to10 : position5;
    Q_ASSERT(maxDecimals == (minDecimals == 4 ? 10 : 5));
    const QString where = QStringLiteral("value %1 shown %2").arg(num(value), FuzzCheck::visible(shown));
    FUZZ_CHECK(matches(pattern, shown), where);
    const QString decimals = shown.mid(shown.indexOf(QLatin1Char('.')) + 1);
    FUZZ_CHECK(decimals.size() == minDecimals || !decimals.endsWith(QLatin1Char('0')), where);
    FUZZ_CHECK(std::fabs(leading_value(shown) - value) <= tolerance, where);
}

void checkSingle(float s)
{
    FUZZ_CHECK(std::isfinite(s), num(s));
    checkForms(s, wire_single(s), file_single(s), 7);
    checkDisplay(display_single(s), s, 4, 10, std::fabs(s) * 5.01e-7 + 5.01e-11);
    checkDisplay(display_position(s), s, 5, 5, std::fabs(s) * 5.01e-7 + 5.01e-6);
}

void checkDouble(double v)
{
    const QString where = num(v);

    bool ok = true;
    const qint16 i = round_int16(v, &ok);
    if (ok) {
        FUZZ_CHECK(double(i) == std::nearbyint(v), where);
    } else {
        FUZZ_CHECK(i == 0, where);
        FUZZ_CHECK(!std::isfinite(v) || std::nearbyint(v) < -32768.0 || std::nearbyint(v) > 32767.0, where);
    }

    const float s = to_single(v);
    FUZZ_CHECK(std::isfinite(s), where);
    if (std::isfinite(v) && std::fabs(v) <= double(FLT_MAX))
        FUZZ_CHECK(s == float(v), where);
    checkSingle(s);

    const QString percent = percent_text(v);
    if (!std::isfinite(v) || std::round(v) == 0) {
        FUZZ_CHECK(percent.isEmpty(), where + QStringLiteral(" percent ") + percent);
    } else {
        static const QRegularExpression whole(QStringLiteral("^-?[1-9][0-9]*$"));
        FUZZ_CHECK(matches(whole, percent), where + QStringLiteral(" percent ") + percent);
        FUZZ_CHECK(leading_value(percent) == std::round(v), where + QStringLiteral(" percent ") + percent);
    }

    if (!std::isfinite(v))
        return;
    checkForms(v, wire_double(v), file_double(v), 15);
    checkDisplay(display_double(v), v, 4, 10, std::fabs(v) * 4.5e-16 + 5.0001e-11);
}

void checkHexPattern(qint32 value)
{
    static const QRegularExpression bare(QStringLiteral("^(0|[1-9A-F][0-9A-F]{0,7})$"));
    static const QRegularExpression padded(QStringLiteral("^[0-9A-F]{8}$"));
    const QString text = hex_text(value);
    const QString eight = padded_hex_text(value);
    const QString where = QStringLiteral("%1: %2 %3").arg(value).arg(text, eight);
    FUZZ_CHECK(matches(bare, text), where);
    FUZZ_CHECK(matches(padded, eight) && eight.endsWith(text), where);
    bool ok = false;
    FUZZ_CHECK(hex_value(text, &ok) == value && ok, where);
    FUZZ_CHECK(hex_value(eight, &ok) == value && ok, where);
    FUZZ_CHECK(leading_value(QStringLiteral("&H") + text) == double(value), where);
}

void checkText(const QString &text)
{
    const QString where = FuzzCheck::visible(text);
    const double v = leading_value(text);
    FUZZ_CHECK(std::isfinite(v), where);
    checkDouble(v);

    bool ok = false;
    const qint32 h = hex_value(text, &ok);
    if (ok)
        checkHexPattern(h);
    else
        FUZZ_CHECK(h == 0, where);
    FUZZ_CHECK(leading_value(QStringLiteral("&H") + text) == double(h), where);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkText(QString::fromLatin1(bytes));
    checkText(QString::fromUtf8(bytes));

    // The raw bytes as numbers too, so that NaN, infinities, subnormals and every bit
    // pattern reach the forms, not only values that a text spells.
    if (size >= sizeof(double)) {
        double d;
        std::memcpy(&d, data, sizeof d);
        checkDouble(d);
    }
    if (size >= sizeof(float)) {
        float f;
        std::memcpy(&f, data, sizeof f);
        checkDouble(double(f));
        qint32 pattern;
        std::memcpy(&pattern, data, sizeof pattern);
        checkHexPattern(pattern);
    }
    return 0;
}
