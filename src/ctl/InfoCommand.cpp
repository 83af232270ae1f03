// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/InfoCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/JsonOutput.h"

ExitCode InfoCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    SerialForm &link = m_session.link();
    if (m_request.json) {
        JsonOutput::print(m_console, QJsonObject{{QStringLiteral("identity"), link.version_text()},
                                                 {QStringLiteral("node"), link.get_nodeid()},
                                                 {QStringLiteral("factoryCommand"), link.factory_command()},
                                                 {QStringLiteral("port"), m_session.where()}});
        return ExitCode::Ok;
    }
    m_console.out(QStringLiteral("identity=") + link.version_text());
    m_console.out(QStringLiteral("node=%1").arg(link.get_nodeid()));
    m_console.out(QStringLiteral("factory-command=") + (link.factory_command() ? QStringLiteral("yes") : QStringLiteral("no")));
    return ExitCode::Ok;
}
