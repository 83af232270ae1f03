// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// The factory reset on the window's two paths: a device that answered "RFD" at
// connection resets itself ("SFD"); another one gets the factory settings written. With
// --backup the device's settings are saved first, and nothing is reset if they cannot be.
class FactoryResetCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
