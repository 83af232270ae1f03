// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/ExitCode.h"

struct CtlRequest;

// Runs the command a request names, on the device it names.
namespace CommandRunner {

ExitCode run(const CtlRequest &request);

} // namespace CommandRunner
