// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// CODE=VALUE for each code asked, the value as a settings file carries it.
class GetCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
