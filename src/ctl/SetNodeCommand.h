// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// Change Node ID: the device answers at the new node ID from then on.
class SetNodeCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
