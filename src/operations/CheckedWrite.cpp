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
    QList<const Setting *> written;
    const ParameterLink::WriteWalk walk(link);
    for (Setting *s : std::as_const(order)) {
        if (s == set.unitsItem())
            set.refreshCurrentUnits();
        rows.append({s, s->ser_write(), false, SettingsComparison::valueText(*s, set.units().current_units()), {}});
        if (rows.last().write.ok())
            written.append(s);
    }
    const ReadBack back = readBack(link, written);
    auto read = back.rows.cbegin();
    for (Row &row : rows) {
        if (!row.write.ok()) {
            row.deviceText = row.write.describe();
            continue;
        }
        row.held = read->held;
        row.deviceText = read->deviceText;
        ++read;
    }
    return rows;
}

ReadBack readBack(ParameterLink *link, const QList<const Setting *> &expected, bool unitsAgain)
{
    SettingsSet device(link);
    ReadBack back{device.unitsItem()->ser_read(), {}};
    device.refreshCurrentUnits();
    const int deviceUnits = device.unitsItem()->getindex();
    for (const Setting *wanted : expected) {
        Setting *read = device.byCode(wanted->get_serstring());
        ReadBackRow row{wanted, {}, false, {}};
        if (read->isLength() && !back.units.ok())
            row.read = {ExchangeResult::Kind::UnitsUnknown, QString()};
        else if (read != device.unitsItem() || unitsAgain)
            row.read = read->ser_read();
        else
            row.read = back.units;
        if (row.read.ok()) {
            row.held = wanted->sameOnWire(*read, deviceUnits);
            row.deviceText = SettingsComparison::valueText(*read, deviceUnits);
        } else {
            row.deviceText = row.read.describe();
        }
        back.rows.append(row);
    }
    return back;
}

} // namespace CheckedWrite
