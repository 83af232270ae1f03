// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/FactoryDefaults.h"

#include "model/ParameterTable.h"

namespace FactoryDefaults {
namespace {

QList<Default> build()
{
    auto i = [](int v) { return QVariant(v); };
    auto x = [](qint32 v) { return QVariant::fromValue<qint32>(v); };
    auto f = [](double v) { return QVariant(v); };
    auto t = [](const char *token) { return QVariant(QString::fromLatin1(token)); };

    QList<Default> out{
        {"PlacesItem", -1, i(3)},
        {"DisplayUpdateItem", -1, i(25)},
        {"LeadingZerosItem", -1, t("NO")},
        {"UnitsItem", -1, t("INCHES")},
        {"ResolutionItem", -1, f(0.0001968503937)}, // 0.005 mm
        {"ScaleItem", -1, f(1.0)},
        {"HOffsetItem", -1, f(0.0)},
        {"SOffsetItem", -1, f(0.0)},
        {"DirectionItem", -1, t("POSITIVE")},
        {"DispModeItem", -1, t("SINGLE")},
        {"MagnetItem", -1, i(1)},
        {"GapItem", -1, i(1)},
        {"ReferenceItem", -1, i(1)},
    };
    for (int m = 0; m < 15; ++m)
        out.append({"MagOffItem", m, f(0.0)});
    out += QList<Default>{
        {"TTypeItem", -1, t("SSIBIN")},
        {"MagnetsItem", -1, i(1)},
        {"SSIBitsItem", -1, i(24)},
        {"SSIErrItem", -1, x(0)},
        {"SSIMaskItem", -1, x(-1)}, // all ones: FFFFFFFF
        {"GradientItem", -1, f(9.0)},
        {"HoldoffItem", -1, i(20)},
        {"CanBaudItem", -1, t("500K")},
        // The device leaves the factory with sensor auto-detection off.
        {"AutoDetectItem", -1, t("OFF")},
        {"RecircsItem", -1, i(1)},
        {"VRangeItem", -1, t("0-10V")},
        {"ATypeItem", -1, t("FORCED")},
        {"AStartItem", -1, f(0.0)},
        {"ARangeItem", -1, f(10.0)},
        {"AForcePercentItem", -1, f(0.0)},
        {"DigInItem", 0, i(0)},
        {"DigInItem", 1, i(0)},
    };
    for (int b = 0; b < 6; ++b) {
        out.append({"ButtonTouchItem", b, i(0)});
        out.append({"ButtonHoldItem", b, i(0)});
    }
    for (int l = 0; l < 5; ++l) {
        out.append({"LimitLBItem", l, f(0.0)});
        out.append({"LimitUBItem", l, f(0.0)});
        out.append({"LimitMagItem", l, i(0)});
        out.append({"LimitActItem", l, t("INSIDE")});
    }
    for (int p = 0; p < 8; ++p)
        out.append({"PresetItem", p, f(0.0)});
    return out;
}

} // namespace

const QList<Default> &defaults()
{
    static const QList<Default> table = build();
    return table;
}

QVariant byCode(const QString &code)
{
    const ParameterTable::Parameter *p = ParameterTable::byCode(code);
    if (!p)
        return {};
    for (const Default &d : defaults())
        if (d.control == p->control && d.index == p->index)
            return d.value;
    return {};
}

} // namespace FactoryDefaults
