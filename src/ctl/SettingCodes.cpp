// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/SettingCodes.h"

#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/IntegerSetting.h"
#include "model/LengthUnits.h"
#include "model/ListSetting.h"
#include "model/NumberText.h"
#include "model/ParameterTable.h"

#include <QRegularExpression>

namespace SettingCodes {

QString unknown(const QString &code)
{
    if (ParameterTable::byCode(code))
        return QString();
    QString text = QStringLiteral("Unknown code \"%1\".").arg(code);
    QStringList near;
    for (const ParameterTable::Parameter &p : ParameterTable::parameters())
        if (p.code.compare(code, Qt::CaseInsensitive) == 0)
            near << p.code;
    if (!near.isEmpty())
        text += QStringLiteral(" Codes are case-sensitive: %1?").arg(near.join(QStringLiteral(" or ")));
    return text;
}

int unitNamed(const QString &text)
{
    static const QStringList shortNames{QStringLiteral("in"), QStringLiteral("ft"), QStringLiteral("cm"),
                                        QStringLiteral("mm"), QStringLiteral("m")};
    const QString t = text.trimmed();
    for (int u = 0; u < LengthUnits::Count; ++u)
        if (t.compare(LengthUnits::selectorTexts().at(u), Qt::CaseInsensitive) == 0
            || t.compare(shortNames.at(u), Qt::CaseInsensitive) == 0)
            return u;
    return -1;
}

bool parse(const Setting &setting, const QString &text, const LengthUnits &units, QString *value, QString *why)
{
    *why = allowed(setting, units);
    if (qobject_cast<const ListSetting *>(&setting)) {
        *value = text;
        return true;
    }
    if (qobject_cast<const HexSetting *>(&setting)) {
        *value = text;
        return QRegularExpression(QStringLiteral("^[0-9A-Fa-f]{1,8}$")).match(text).hasMatch();
    }
    if (qobject_cast<const IntegerSetting *>(&setting)) {
        *value = text;
        return QRegularExpression(QStringLiteral("^[+-]?[0-9]+$")).match(text).hasMatch();
    }
    // A finite decimal number, and for a length the unit it is in.
    static const QRegularExpression real(QStringLiteral("^([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)\\s*([A-Za-z]*)$"));
    const QRegularExpressionMatch m = real.match(text);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    const double number = m.captured(1).toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return false;
    const auto *f = static_cast<const FloatSetting *>(&setting);
    if (m.captured(2).isEmpty()) {
        *value = m.captured(1);
        return true;
    }
    const int unit = unitNamed(m.captured(2));
    if (!f->hasUnits() || unit < 0) {
        *why += f->hasUnits() ? QStringLiteral("; a unit is one of in, ft, cm, mm, m")
                               : QStringLiteral(", without a unit");
        return false;
    }
    *value = NumberText::wireSingle(units.convert_length(number, unit, units.current_units()));
    return true;
}

QString allowed(const Setting &setting, const LengthUnits &units)
{
    // The catalogue's limits as it gives them: 0.00001 and 99999.99999, not 1e-05 and 100000.
    const auto number = [](double v) { return NumberText::wireDouble(v); };
    if (const auto *i = qobject_cast<const IntegerSetting *>(&setting))
        return QStringLiteral("a whole number from %1 to %2").arg(i->lowerLimit()).arg(i->upperLimit());
    if (const auto *f = qobject_cast<const FloatSetting *>(&setting)) {
        if (!f->hasUnits())
            return QStringLiteral("a number from %1 to %2").arg(number(f->lowerLimit()), number(f->upperLimit()));
        const int unit = LengthUnits::isValid(units.current_units()) ? units.current_units() : 0;
        const auto inUnit = [&](double inches) {
            return unit == 0 ? number(inches) : NumberText::wireSingle(units.convert_length(inches, 0, unit));
        };
        return QStringLiteral("a length from %1 to %2 %3")
            .arg(inUnit(f->lowerLimit()), inUnit(f->upperLimit()), LengthUnits::selectorTexts().value(unit));
    }
    if (const auto *l = qobject_cast<const ListSetting *>(&setting)) {
        QStringList tokens;
        for (int i = 0; i < l->count(); ++i)
            tokens << l->token(i);
        return QStringLiteral("one of ") + tokens.join(QStringLiteral(", "));
    }
    return QStringLiteral("up to eight hexadecimal digits");
}

} // namespace SettingCodes
