// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SettingsDiff.h"

#include "model/Setting.h"
#include "model/SettingsSet.h"

namespace SettingsDiff {

QList<Difference> compare(const SettingsSet &mine, const SettingsSet &other)
{
    QList<Difference> out;
    for (const Setting *a : mine.item_list()) {
        const Setting *b = other.byCode(a->get_serstring());
        if (b && !a->same_value(*b))
            out.append({a, b, a->value_text(), a->shown_as_mine(*b)});
    }
    return out;
}

} // namespace SettingsDiff
