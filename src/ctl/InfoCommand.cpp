// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/InfoCommand.h"

#include "ctl/Console.h"
#include "ctl/DeviceSession.h"

ExitCode InfoCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    SerialForm &link = m_session.link();
    m_console.out(QStringLiteral("identity=") + link.version_text());
    m_console.out(QStringLiteral("node=%1").arg(link.get_nodeid()));
    m_console.out(QStringLiteral("factory-command=") + (link.factory_command() ? QStringLiteral("yes") : QStringLiteral("no")));
    return ExitCode::Ok;
}
