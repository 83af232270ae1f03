// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// Every parameter read from the device into a settings file, the bytes the window's Save
// writes.
class UploadCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
