// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/CommandRunner.h"

#include "ctl/Command.h"
#include "ctl/CommandTable.h"
#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"

namespace CommandRunner {

ExitCode run(const CtlRequest &request)
{
    Console console({request.verbose, request.quiet});
    const CommandTable::Entry *entry = CommandTable::find(request.command);
    if (!entry) {
        console.error(QStringLiteral("Unknown command \"%1\".").arg(request.command));
        return ExitCode::Usage;
    }
    DeviceSession session(request, console);
    return console.checked(entry->make(request, session, console)->run());
}

} // namespace CommandRunner
