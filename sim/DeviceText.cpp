// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DeviceText.h"

#include <QRegularExpression>

#include <cmath>

namespace DeviceText {

namespace {

QString stripZeros(QString s)
{
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

} // namespace

QString significant(double value, int digits)
{
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral("0");
    digits = qBound(1, digits, 17);
    const int exponent = int(std::floor(std::log10(std::fabs(value))));
    int decimals = digits - 1 - exponent;
    if (decimals < 0) {
        const double step = std::pow(10.0, -decimals);
        value = std::round(value / step) * step;
        decimals = 0;
    }
    // Below this the value is noise around zero for every parameter the device holds.
    if (decimals > 20)
        return QStringLiteral("0");
    return stripZeros(QString::number(value, 'f', decimals));
}

QString fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0;
    QString s = QString::number(value, 'f', qBound(0, decimals, 15));
    if (s.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (int i = 1; i < s.size(); ++i)
            if (s[i] != QLatin1Char('0') && s[i] != QLatin1Char('.'))
                allZero = false;
        if (allZero)
            s.remove(0, 1);
    }
    return s;
}

bool parseInteger(const QString &text, qint64 *value)
{
    static const QRegularExpression re(QStringLiteral("^[+-]?[0-9]{1,9}$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch())
        return false;
    *value = t.toLongLong();
    return true;
}

bool parseReal(const QString &text, double *value)
{
    static const QRegularExpression re(
        QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]{1,3})?$"));
    const QString t = text.trimmed();
    if (t.size() > 40 || !re.match(t).hasMatch())
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool parseHex(const QString &text, quint32 *value)
{
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]{1,8}$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch())
        return false;
    *value = t.toUInt(nullptr, 16);
    return true;
}

QString hex(quint32 value)
{
    return QString::number(value, 16).toUpper();
}

double unitsPerInch(int unit)
{
    static const double factors[] = {1.0, 1.0 / 12.0, 2.54, 25.4, 0.0254};
    return unit >= 0 && unit < 5 ? factors[unit] : 1.0;
}

} // namespace DeviceText
