// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/GetCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/SettingCodes.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"

ExitCode GetCommand::run()
{
    for (const QString &code : m_request.arguments) {
        const QString why = SettingCodes::unknown(code);
        if (!why.isEmpty()) {
            m_console.error(why);
            return ExitCode::Usage;
        }
    }
    if (!m_session.connect())
        return ExitCode::NoDevice;
    SettingsSet set(m_session.parameters());
    // Lengths are read in the unit the device answers with.
    ListSetting *units = set.units_item();
    const ExitCode unitsRead = m_session.outcome(units->ser_read(), QStringLiteral("RPU"));
    if (unitsRead != ExitCode::Ok)
        return unitsRead;
    set.refresh_current_units();
    for (const QString &code : m_request.arguments) {
        Setting *setting = set.byCode(code);
        if (setting != units) {
            const ExitCode read = m_session.outcome(setting->ser_read(), QStringLiteral("R") + code);
            if (read != ExitCode::Ok)
                return read;
        }
        m_console.out(code + QLatin1Char('=') + setting->file_value());
    }
    return ExitCode::Ok;
}
