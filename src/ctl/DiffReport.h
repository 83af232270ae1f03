// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/SettingsDiff.h"

class Console;

// The differences between a settings file and the device, one line each on standard
// output: CODE file=VALUE device=VALUE, values as a settings file carries them, then
// the parameter's title in brackets.
namespace DiffReport {

void print(const QList<SettingsDiff::Difference> &differences, Console &console);

} // namespace DiffReport
