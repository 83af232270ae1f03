// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "operations/SettingsComparison.h"

#include "model/LengthUnits.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"
#include "operations/DeviceReading.h"

#include <algorithm>

namespace {

using State = SettingsComparison::Row::State;

// The unit a set's lengths travel in: the one its units setting names, as a download
// sends them after it and a file's lines are read after its units line.
int unitsOf(const SettingsSet &set)
{
    const int u = set.unitsItem()->getindex();
    return LengthUnits::isValid(u) ? u : 0;
}

} // namespace

QString SettingsComparison::valueText(const Setting &setting, int units)
{
    const QString text = setting.wireValueIn(units);
    if (!setting.isLength())
        return text;
    return text + QLatin1Char(' ') + LengthUnits::selectorTexts().value(LengthUnits::isValid(units) ? units : 0);
}

SettingsComparison SettingsComparison::withDevice(const SettingsSet &mine, const DeviceReading &device,
                                                  const QStringList &leftOut)
{
    SettingsComparison c;
    const SettingsSet &theirs = *device.settings();
    const int deviceUnits = device.deviceUnits();
    const int mineUnits = unitsOf(mine);
    for (Setting *a : mine.item_list()) {
        const Setting *b = theirs.byCode(a->get_serstring());
        if (!b || leftOut.contains(a->get_serstring()))
            continue;
        ++c.m_total;
        const WalkReport::Entry *entry = device.report().entryFor(b);
        const QString mineText = valueText(*a, mineUnits);
        if (!entry || entry->result.kind == ExchangeResult::Kind::UnitsUnknown) {
            c.m_rows.append({a, b, State::UnitsUnknown, mineText, QStringLiteral("(units not read)")});
        } else if (!entry->result.ok()) {
            c.m_rows.append({a, b, State::NotRead, mineText, entry->result.describe()});
        } else {
            ++c.m_compared;
            if (!a->sameOnWire(*b, deviceUnits))
                c.m_rows.append({a, b, State::Differs, mineText, valueText(*b, deviceUnits)});
        }
    }
    return c;
}

SettingsComparison SettingsComparison::withSet(const SettingsSet &mine, const SettingsSet &other)
{
    SettingsComparison c;
    const int mineUnits = unitsOf(mine);
    const int otherUnits = unitsOf(other);
    for (Setting *a : mine.item_list()) {
        const Setting *b = other.byCode(a->get_serstring());
        if (!b)
            continue;
        ++c.m_total;
        ++c.m_compared;
        if (!a->sameOnWire(*b, otherUnits))
            c.m_rows.append({a, b, State::Differs, valueText(*a, mineUnits), valueText(*b, otherUnits)});
    }
    return c;
}

int SettingsComparison::differing() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.state == State::Differs; }));
}
