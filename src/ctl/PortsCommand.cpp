// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/PortsCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "link/PortDirectory.h"
#include "link/PortScan.h"

ExitCode PortsCommand::run()
{
    // A device given by its path is port 1 and nothing else.
    const int last = m_request.device.isEmpty() ? PortDirectory::LastPort : PortDirectory::FirstPort;
    for (int n = PortDirectory::FirstPort; n <= last; ++n) {
        QString location;
        QString why;
        const bool opens = m_session.tryPort(n, &location, &why);
        const QStringList details = m_session.link().portScan().whatIs(n);
        m_console.out(QStringLiteral("%1 %2 %3%4")
                          .arg(PortDirectory::portName(n), -5)
                          .arg(location.isEmpty() ? QStringLiteral("-") : location, -24)
                          .arg(opens ? QStringLiteral("opens") : why)
                          .arg(details.isEmpty() ? QString() : QStringLiteral("  (%1)").arg(details.join(QStringLiteral(", ")))));
    }
    return ExitCode::Ok;
}
