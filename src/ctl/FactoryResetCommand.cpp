// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/FactoryResetCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DeviceSettings.h"
#include "ctl/SettingsFileIo.h"

ExitCode FactoryResetCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    const bool deviceResets = m_session.link().factory_command();
    DeviceSettings device(m_session, m_console);
    // The form's copy is written over what the device holds, so what it has no default
    // for (the CANbus serial number) stays the device's own.
    if ((!m_request.backup.isEmpty() || !deviceResets) && !device.read())
        return ExitCode::NoDevice;
    if (!m_request.backup.isEmpty()) {
        const ExitCode saved = SettingsFileIo::save(m_request.backup, device.track(), m_console);
        if (saved != ExitCode::Ok)
            return saved;
    }
    if (deviceResets)
        return deviceReset();
    device.set().apply_factory_defaults();
    return device.write() ? ExitCode::Ok : ExitCode::NoDevice;
}

// The window's device path: write protection lifted afresh, "SFD" with the long wait,
// protection set again.
ExitCode FactoryResetCommand::deviceReset()
{
    ParameterLink *link = m_session.parameters();
    link->reset_wp();
    link->write_enable(true);
    if (!m_session.answering())
        return ExitCode::NoDevice;
    m_console.progress(QStringLiteral("Factory Reset"));
    const bool answered = m_session.link().sendrcv_long_nodeid(QStringLiteral("SFD"), false);
    m_console.progress(QString());
    if (!answered) {
        m_console.error(QStringLiteral("the device on %1 did not answer the factory reset ($%2SFD).")
                            .arg(m_session.where())
                            .arg(m_session.link().get_nodeid()));
        return ExitCode::NoDevice;
    }
    link->write_enable(false);
    return m_session.answering() ? ExitCode::Ok : ExitCode::NoDevice;
}
