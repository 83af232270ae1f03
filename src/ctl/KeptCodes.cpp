// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/KeptCodes.h"

#include "ctl/DeviceSession.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"
#include "operations/CheckedWrite.h"
#include "operations/SettingsComparison.h"

namespace KeptCodes {

void tell(DeviceSession &session, const SettingsSet &expected, const QStringList &codes, const QString &done)
{
    if (codes.isEmpty())
        return;
    QList<const Setting *> wanted;
    for (const QString &code : codes)
        wanted.append(expected.byCode(code));
    // Every kept code is read from the device, PU too.
    const CheckedWrite::ReadBack back = CheckedWrite::readBack(session.parameters(), wanted, true);
    for (const CheckedWrite::ReadBackRow &row : back.rows) {
        const QString code = row.expected->get_serstring();
        if (!row.read.ok()) {
            // A length not read for want of the units: the units read says why.
            const ExchangeResult &why = row.read.kind == ExchangeResult::Kind::UnitsUnknown ? back.units : row.read;
            session.warn(QStringLiteral("%1 %2; the unit's own value could not be read (%3).").arg(code, done, why.describe()));
            continue;
        }
        if (!row.held)
            session.warn(QStringLiteral("%1 %2: the unit has %1=%3, the file %1=%4.")
                             .arg(code, done, row.deviceText,
                                  SettingsComparison::valueText(*row.expected, expected.unitsItem()->getindex())));
    }
}

} // namespace KeptCodes
