// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// Every parameter the program knows, with its tab, title, kind, limits or choices and
// factory value; no device needed.
class CodesCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
