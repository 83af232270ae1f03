// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DownloadCommand.h"

#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DiffReport.h"
#include "ctl/SettingsFileIo.h"
#include "model/SettingsSet.h"
#include "operations/DeviceReading.h"
#include "operations/FileSettings.h"
#include "operations/SettingsComparison.h"

ExitCode DownloadCommand::run()
{
    FileSettings file(m_session.parameters());
    const ExitCode loaded = SettingsFileIo::load(m_request.arguments.first(), file, m_console);
    if (loaded != ExitCode::Ok)
        return loaded;
    if (!m_session.connect())
        return ExitCode::NoDevice;
    m_session.showProgress(*file.track());
    file.settings()->refresh_current_units();
    const ExitCode written = m_session.outcome(file.track()->download_all(), QStringLiteral("wrote"));
    if (written != ExitCode::Ok || !m_request.verify)
        return written;
    DeviceReading device(m_session.parameters(), nullptr);
    m_session.showProgress(device);
    device.read(QStringLiteral("Verifying... "));
    if (!m_session.answering())
        return ExitCode::NoDevice;
    return DiffReport::print(SettingsComparison::withDevice(*file.settings(), device), m_console);
}
