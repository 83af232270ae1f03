// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DownloadCommand.h"

#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DiffReport.h"
#include "ctl/JsonOutput.h"
#include "ctl/KeptCodes.h"
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
    const QStringList kept = m_request.keptCodes();
    KeptCodes::tell(m_session, *file.settings(), kept,
                    m_request.all ? QStringLiteral("left as the unit has it") : QStringLiteral("left as the unit has it (--all writes it)"));
    m_session.showProgress(*file.track());
    file.settings()->refreshCurrentUnits();
    const WalkReport written = file.track()->download_all(kept);
    const ExitCode wrote = m_session.outcome(written, QStringLiteral("took"));
    if (wrote != ExitCode::Ok || !m_request.verify)
        return wrote;
    DeviceReading device(m_session.parameters(), nullptr);
    const ExitCode read = m_session.readDevice(device, QStringLiteral("Verifying... "), QStringLiteral("read back"), false);
    if (read != ExitCode::Ok)
        return read;
    const SettingsComparison comparison = SettingsComparison::withDevice(*file.settings(), device, kept);
    if (!m_request.json)
        return DiffReport::print(comparison, QStringLiteral("file"), m_console);
    JsonOutput::print(m_console, QJsonObject{{QStringLiteral("written"), written.done()},
                                             {QStringLiteral("kept"), QJsonArray::fromStringList(kept)},
                                             {QStringLiteral("verify"), DiffReport::json(comparison, QStringLiteral("file"))}});
    return DiffReport::code(comparison);
}
