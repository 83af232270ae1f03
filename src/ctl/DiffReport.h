// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/ExitCode.h"

class Console;
class SettingsComparison;

// A comparison of a settings file with the device, as a script reads it: one line per
// difference on standard output, CODE file=VALUE device=VALUE (Title), each value as that
// side carries it on the wire, a length with its unit ("PO file=10 MM device=5 Inches");
// what could not be compared on standard error, named with why. Ok only for a match.
namespace DiffReport {

ExitCode print(const SettingsComparison &comparison, Console &console);

} // namespace DiffReport
