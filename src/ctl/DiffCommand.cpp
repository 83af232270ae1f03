// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DiffCommand.h"

#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DeviceSettings.h"
#include "ctl/DiffReport.h"
#include "ctl/SettingsFileIo.h"

ExitCode DiffCommand::run()
{
    DeviceSettings file(m_session, m_console);
    const ExitCode loaded = SettingsFileIo::load(m_request.arguments.first(), file.track(), m_console);
    if (loaded != ExitCode::Ok)
        return loaded;
    DeviceSettings device(m_session, m_console);
    if (!m_session.connect() || !device.read())
        return ExitCode::NoDevice;
    const QList<SettingsDiff::Difference> differences = SettingsDiff::compare(file.set(), device.set());
    DiffReport::print(differences, m_console);
    return differences.isEmpty() ? ExitCode::Ok : ExitCode::Differences;
}
