// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/SetNodeCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"

ExitCode SetNodeCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    if (m_session.link().change_nodeid(qint16(m_request.newNode)))
        return ExitCode::Ok;
    m_console.error(QStringLiteral("the device on %1 did not take node ID %2.").arg(m_session.where(), QString::number(m_request.newNode)));
    return ExitCode::NoDevice;
}
