// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// The device compared with a settings file by value, one line per difference.
class DiffCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
