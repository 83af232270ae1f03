// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "operations/DeviceReading.h"

#include "model/ItemTrack.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"

DeviceReading::DeviceReading(ParameterLink *link, BusyGuard *busyGuard, QObject *parent)
    : QObject(parent), m_settings(new SettingsSet(link, this)), m_track(new ItemTrack(m_settings, link, this))
{
    m_track->setBusyGuard(busyGuard);
    connect(m_track, &ItemTrack::progress, this, &DeviceReading::progress);
}

bool DeviceReading::read(const QString &progressPrefix)
{
    m_report = m_track->upload_all(progressPrefix);
    return m_report.ran;
}

int DeviceReading::size() const
{
    return int(m_settings->item_list().size());
}

int DeviceReading::deviceUnits() const
{
    return m_report.ran && m_report.unitsRead ? m_settings->unitsItem()->getindex() : -1;
}

QStringList DeviceReading::stateLines() const
{
    return complete() ? m_track->fileLines() : QStringList();
}
