// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// The device's identity, node ID and whether it knows the factory command.
class InfoCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
