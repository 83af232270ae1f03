// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// Writes CODE=VALUE for each pair, every value checked before anything is written; the
// units first, so lengths are taken and written in the unit they name.
class SetCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
