// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/SetCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/SettingCodes.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"

#include <algorithm>

ExitCode SetCommand::run()
{
    QList<QPair<QString, QString>> pairs;
    for (const QString &argument : m_request.arguments) {
        const qsizetype eq = argument.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            m_console.error(QStringLiteral("set takes CODE=VALUE, not \"%1\".").arg(argument));
            return ExitCode::Usage;
        }
        const QString why = SettingCodes::unknown(argument.left(eq));
        if (!why.isEmpty()) {
            m_console.error(why);
            return ExitCode::Usage;
        }
        pairs.append({argument.left(eq), argument.mid(eq + 1)});
    }
    std::stable_partition(pairs.begin(), pairs.end(), [](const auto &p) { return p.first == QLatin1String("PU"); });

    if (!m_session.connect())
        return ExitCode::NoDevice;
    SettingsSet set(m_session.parameters());
    const ExitCode unitsRead = m_session.outcome(set.units_item()->ser_read(), QStringLiteral("RPU"));
    if (unitsRead != ExitCode::Ok)
        return unitsRead;
    set.refresh_current_units();
    QList<Setting *> writes;
    for (const auto &[code, value] : std::as_const(pairs)) {
        Setting *setting = set.byCode(code);
        if (!SettingCodes::wellFormed(*setting, value) || !setting->take(value)) {
            m_console.error(QStringLiteral("%1=%2: %1 takes %3.").arg(code, value, SettingCodes::allowed(*setting, set.units())));
            return ExitCode::Usage;
        }
        if (setting == set.units_item())
            set.refresh_current_units();
        if (!writes.contains(setting))
            writes.append(setting);
    }
    for (Setting *setting : std::as_const(writes)) {
        const ExitCode written = m_session.outcome(setting->ser_write(), QStringLiteral("S") + setting->get_serstring()
                                                                             + setting->wire_value_in(set.units().current_units()));
        if (written != ExitCode::Ok)
            return written;
    }
    return ExitCode::Ok;
}
