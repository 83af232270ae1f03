// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "operations/CheckedWrite.h"

#include "link/ParameterLink.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"
#include "operations/SettingsComparison.h"

namespace CheckedWrite {

QList<Row> run(ParameterLink *link, SettingsSet &set, const QList<Setting *> &settings)
{
    QList<Setting *> order = settings;
    if (order.removeAll(set.unitsItem()) > 0)
        order.prepend(set.unitsItem());
    QList<Row> rows;
    const ParameterLink::WriteWalk walk(link);
    for (Setting *s : std::as_const(order)) {
        if (s == set.unitsItem())
            set.refreshCurrentUnits();
        rows.append({s, s->ser_write(), {}, false, SettingsComparison::valueText(*s, set.units().current_units()), {}});
    }
    SettingsSet device(link);
    const ExchangeResult units = device.unitsItem()->ser_read();
    device.refreshCurrentUnits();
    for (Row &row : rows) {
        if (!row.write.ok()) {
            row.deviceText = row.write.describe();
            continue;
        }
        Setting *read = device.byCode(row.setting->get_serstring());
        if (read->isLength() && !units.ok()) {
            row.read = {ExchangeResult::Kind::UnitsUnknown, QString()};
        } else if (read != device.unitsItem()) {
            row.read = read->ser_read();
        } else {
            row.read = units;
        }
        if (!row.read.ok()) {
            row.deviceText = row.read.describe();
            continue;
        }
        const int deviceUnits = device.unitsItem()->getindex();
        row.held = row.setting->sameOnWire(*read, deviceUnits);
        row.deviceText = SettingsComparison::valueText(*read, deviceUnits);
    }
    return rows;
}

} // namespace CheckedWrite
