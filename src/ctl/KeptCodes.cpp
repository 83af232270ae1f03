// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/KeptCodes.h"

#include "ctl/DeviceSession.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"
#include "operations/SettingsComparison.h"

namespace KeptCodes {

void tell(DeviceSession &session, const SettingsSet &expected, const QStringList &codes, const QString &done)
{
    if (codes.isEmpty())
        return;
    SettingsSet unit(session.parameters());
    const ExchangeResult units = unit.unitsItem()->ser_read();
    unit.refreshCurrentUnits();
    const int deviceUnits = unit.unitsItem()->getindex();
    for (const QString &code : codes) {
        Setting *own = unit.byCode(code);
        const Setting *wanted = expected.byCode(code);
        const ExchangeResult read = own->isLength() && !units.ok() ? units : own->ser_read();
        if (!read.ok()) {
            session.warn(QStringLiteral("%1 %2; the unit's own value could not be read (%3).").arg(code, done, read.describe()));
            continue;
        }
        if (!wanted->sameOnWire(*own, deviceUnits))
            session.warn(QStringLiteral("%1 %2: the unit has %1=%3, the file %1=%4.")
                             .arg(code, done, SettingsComparison::valueText(*own, deviceUnits),
                                  SettingsComparison::valueText(*wanted, expected.unitsItem()->getindex())));
    }
}

} // namespace KeptCodes
