#include "ctl/MonitorCommand.h"

#include "ctl/Console.h"

ExitCode MonitorCommand::run()
{
    // The poll cycle is the one the window's read-outs will share; until it is apart from
    // them there is none here to run.
    m_console.error(QStringLiteral("monitor is not available yet in this version of qtx2ctl."));
    return ExitCode::Usage;
}
