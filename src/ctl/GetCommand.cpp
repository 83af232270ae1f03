// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/GetCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DeviceSettings.h"
#include "ctl/SettingCodes.h"
#include "model/ListSetting.h"

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
    DeviceSettings device(m_session, m_console);
    if (!device.readUnits())
        return ExitCode::NoDevice;
    for (const QString &code : m_request.arguments) {
        Setting *setting = device.set().byCode(code);
        if (setting != device.set().units_item() && !device.readOne(setting))
            return ExitCode::NoDevice;
        m_console.out(code + QLatin1Char('=') + setting->file_value());
    }
    return ExitCode::Ok;
}
