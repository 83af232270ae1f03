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
    if (order.removeAll(set.units_item()) > 0)
        order.prepend(set.units_item());
    QList<Row> rows;
    const ParameterLink::WriteWalk walk(link);
    for (Setting *s : std::as_const(order)) {
        if (s == set.units_item())
            set.refresh_current_units();
        rows.append({s, s->ser_write(), {}, false, SettingsComparison::valueText(*s, set.units().current_units()), {}});
    }
    SettingsSet device(link);
    const ExchangeResult units = device.units_item()->ser_read();
    device.refresh_current_units();
    for (Row &row : rows) {
        if (!row.write.ok()) {
            row.deviceText = row.write.describe();
            continue;
        }
        Setting *read = device.byCode(row.setting->get_serstring());
        if (read->is_length() && !units.ok()) {
            row.read = {ExchangeResult::Kind::UnitsUnknown, QString()};
        } else if (read != device.units_item()) {
            row.read = read->ser_read();
        } else {
            row.read = units;
        }
        if (!row.read.ok()) {
            row.deviceText = row.read.describe();
            continue;
        }
        const int deviceUnits = device.units_item()->getindex();
        row.held = row.setting->same_on_wire(*read, deviceUnits);
        row.deviceText = SettingsComparison::valueText(*read, deviceUnits);
    }
    return rows;
}

} // namespace CheckedWrite
