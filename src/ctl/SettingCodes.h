// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class LengthUnits;
class Setting;

// Codes and values as a command line gives them to get and set.
namespace SettingCodes {

// Empty when the code is in the catalogue (exact case); otherwise why not, naming the
// code of another case when there is one.
QString unknown(const QString &code);
// Whether the text has the form of a value of the setting's kind: a number for
// integers and reals, up to eight hexadecimal digits for hex; any token for a list,
// whose choices the setting checks itself.
bool wellFormed(const Setting &setting, const QString &text);
// What the setting takes: its range (a length in the unit current_units names) or its
// choices.
QString allowed(const Setting &setting, const LengthUnits &units);

} // namespace SettingCodes
