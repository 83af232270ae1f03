// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/SettingCodes.h"

#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/IntegerSetting.h"
#include "model/LengthUnits.h"
#include "model/ListSetting.h"
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

bool wellFormed(const Setting &setting, const QString &text)
{
    if (qobject_cast<const ListSetting *>(&setting))
        return true;
    if (qobject_cast<const HexSetting *>(&setting))
        return QRegularExpression(QStringLiteral("^[0-9A-Fa-f]{1,8}$")).match(text).hasMatch();
    bool ok = false;
    static_cast<void>(text.toDouble(&ok));
    return ok;
}

QString allowed(const Setting &setting, const LengthUnits &units)
{
    const auto number = [](double v) { return QString::number(v, 'g', 7); };
    if (const auto *i = qobject_cast<const IntegerSetting *>(&setting))
        return QStringLiteral("a whole number from %1 to %2").arg(i->lower_limit()).arg(i->upper_limit());
    if (const auto *f = qobject_cast<const FloatSetting *>(&setting)) {
        if (!f->has_units())
            return QStringLiteral("a number from %1 to %2").arg(number(f->lower_limit()), number(f->upper_limit()));
        const int unit = units.current_units();
        return QStringLiteral("a length from %1 to %2 %3")
            .arg(number(units.convert_length(f->lower_limit(), 0, unit)),
                 number(units.convert_length(f->upper_limit(), 0, unit)),
                 LengthUnits::selectorTexts().value(unit));
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
