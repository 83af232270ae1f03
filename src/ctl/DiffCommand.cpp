// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DiffCommand.h"

#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DiffReport.h"
#include "ctl/SettingsFileIo.h"
#include "operations/DeviceReading.h"
#include "operations/FileSettings.h"
#include "operations/SettingsComparison.h"

ExitCode DiffCommand::run()
{
    FileSettings file;
    const ExitCode loaded = SettingsFileIo::load(m_request.arguments.first(), file, m_console);
    if (loaded != ExitCode::Ok)
        return loaded;
    if (!m_session.connect())
        return ExitCode::NoDevice;
    DeviceReading device(m_session.parameters(), nullptr);
    m_session.showProgress(device);
    device.read(QStringLiteral("Uploading... "));
    if (!m_session.answering())
        return ExitCode::NoDevice;
    return DiffReport::print(SettingsComparison::withDevice(*file.settings(), device), m_console);
}
