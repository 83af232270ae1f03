// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

class Setting;
class SettingsSet;

// The parameters whose values differ between two sets (the form and the device read
// back, or the form and a settings file), compared by value as Setting::same_value does.
namespace SettingsDiff {

struct Difference
{
    const Setting *mine;  // in the first set
    const Setting *other; // the same parameter in the second
    QString mineText;     // as the first set shows it
    QString otherText;    // the second's value as the first shows its own (a length in its unit)
};

// In item-list order; the units setting counts like any other.
QList<Difference> compare(const SettingsSet &mine, const SettingsSet &other);

} // namespace SettingsDiff
