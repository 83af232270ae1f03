// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// A settings file written to the device as the window's Download writes it; with
// --verify, every parameter read back and each one the device does not hold listed.
class DownloadCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
