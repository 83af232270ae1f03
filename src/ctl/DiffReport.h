// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/ExitCode.h"

#include <QJsonObject>
#include <QString>

class Console;
class SettingsComparison;

// A comparison of expected values (a settings file, the factory settings) with the device,
// as a script reads it: one line per difference on standard output, CODE file=VALUE
// device=VALUE (Title), side naming the expected side, each value as that side carries it
// on the wire, a length with its unit ("PO file=10 MM device=5 Inches"); what could not be
// compared on standard error, named with why. Ok only for a match.
namespace DiffReport {

ExitCode print(const SettingsComparison &comparison, const QString &side, Console &console);
// The same as one JSON object: matches, compared, total, differences and notCompared.
QJsonObject json(const SettingsComparison &comparison, const QString &side);
ExitCode code(const SettingsComparison &comparison);

} // namespace DiffReport
