// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/UploadCommand.h"

#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/SettingsFileIo.h"
#include "operations/DeviceReading.h"

ExitCode UploadCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    DeviceReading device(m_session.parameters(), nullptr);
    const ExitCode read = m_session.readDevice(device, QStringLiteral("Uploading... "), QStringLiteral("gave values for"), true);
    if (read != ExitCode::Ok)
        return read;
    return SettingsFileIo::save(m_request.arguments.first(), device.stateLines(), m_console);
}
