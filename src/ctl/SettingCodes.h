// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class LengthUnits;
class Setting;

// Codes, values and units as a command line gives them.
namespace SettingCodes {

// Empty when the code is in the catalogue (exact case); otherwise why not, naming the
// code of another case when there is one.
QString unknown(const QString &code);
// A length unit by its selector text or short name, any case ("MM", "mm", "in",
// "Meters", "m"); -1 for none.
int unitNamed(const QString &text);
// A value as typed on a command line, strictly: a whole number for an integer, a finite
// decimal number for a real, a length with an optional unit after it ("5mm", "0.2 in"),
// one to eight hexadecimal digits, a list's token. *value is the text the setting takes
// (a length in the unit units names); otherwise *why says what the setting takes.
bool parse(const Setting &setting, const QString &text, const LengthUnits &units, QString *value, QString *why);
// What the setting takes: its range, exactly as the catalogue gives it (a length in the
// unit units names), or its choices.
QString allowed(const Setting &setting, const LengthUnits &units);

} // namespace SettingCodes
