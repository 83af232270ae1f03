// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/FactoryResetCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/SettingsFileIo.h"
#include "operations/DeviceReading.h"
#include "operations/FactoryReset.h"

ExitCode FactoryResetCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    const bool deviceResets = m_session.parameters()->factory_command();
    DeviceReading device(m_session.parameters(), nullptr);
    // The defaults are written over what the device holds, so what they give no value for
    // (the CANbus serial number) stays the device's own.
    if (!m_request.backup.isEmpty() || !deviceResets) {
        const ExitCode read =
            m_session.readDevice(device, QStringLiteral("Uploading... "), QStringLiteral("gave values for"), true);
        if (read != ExitCode::Ok)
            return read;
    }
    if (!m_request.backup.isEmpty()) {
        const ExitCode saved = SettingsFileIo::save(m_request.backup, device.stateLines(), m_console);
        if (saved != ExitCode::Ok)
            return saved;
    }
    FactoryReset reset(m_session.parameters(), nullptr);
    m_session.showProgress(reset);
    const FactoryReset::Result result = reset.run(*device.settings());
    m_console.progress(QString());
    if (!result.byDevice)
        return m_session.outcome(result.download, QStringLiteral("wrote the factory value of"));
    return m_session.outcome(result.reset, QStringLiteral("SFD"));
}
