// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/DeviceValues.h"

#include "model/ListSetting.h"
#include "model/SettingsSet.h"

DeviceValues::DeviceValues(QObject *parent) : QObject(parent), m_values(new SettingsSet(nullptr, this))
{
}

Setting *DeviceValues::mine(const Setting *setting) const
{
    return setting ? m_values->byCode(setting->get_serstring()) : nullptr;
}

const Setting *DeviceValues::valueOf(const Setting &setting) const
{
    const Setting *held = mine(&setting);
    return m_known.contains(held) ? held : nullptr;
}

int DeviceValues::units() const
{
    const ListSetting *units = m_values->unitsItem();
    return m_known.contains(units) ? units->getindex() : -1;
}

void DeviceValues::noteRead(const WalkReport &report)
{
    for (const WalkReport::Entry &e : report.entries) {
        Setting *held = mine(e.setting);
        // An edit after the read replaced the value the device sent.
        if (held && e.stands() && held->takeValueOf(*e.setting))
            m_known.insert(held);
        else
            m_known.remove(held);
    }
    // Views compare again and show what moved.
    if (!report.entries.isEmpty())
        emit valuesChanged();
}

void DeviceValues::noteWritten(const WalkReport &report)
{
    const int u = qMax(units(), 0);
    bool moved = false;
    for (const WalkReport::Entry &e : report.entries) {
        Setting *held = mine(e.setting);
        // Told what it was read to hold, the device still holds it.
        const bool same = m_known.contains(held) && e.stands()
            && e.setting->sameOnWire(*held, u);
        if (!same)
            moved = m_known.remove(held) || moved;
    }
    if (moved)
        emit valuesChanged();
}

void DeviceValues::clear()
{
    if (m_known.isEmpty())
        return;
    m_known.clear();
    emit valuesChanged();
}
