// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/DeviceSnapshot.h"

#include "model/ItemTrack.h"
#include "model/SettingsSet.h"

DeviceSnapshot::DeviceSnapshot(ParameterLink *link, QTimer *busyTimer, QObject *parent)
    : QObject(parent), m_settings(new SettingsSet(link, this)), m_track(new ItemTrack(m_settings, link, this))
{
    m_track->setBusyTimer(busyTimer);
    connect(m_track, &ItemTrack::progress, this, &DeviceSnapshot::progress);
}

bool DeviceSnapshot::read(const QString &progressPrefix)
{
    return m_track->upload_all(progressPrefix, &m_unread);
}

int DeviceSnapshot::size() const
{
    return int(m_settings->item_list().size());
}

QStringList DeviceSnapshot::file_lines() const
{
    return m_track->file_lines();
}
