// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/UploadCommand.h"

#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DeviceSettings.h"
#include "ctl/SettingsFileIo.h"

ExitCode UploadCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    DeviceSettings device(m_session, m_console);
    if (!device.read())
        return ExitCode::NoDevice;
    return SettingsFileIo::save(m_request.arguments.first(), device.track(), m_console);
}
