// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// Positions as CSV lines, 4 a second.
class MonitorCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
