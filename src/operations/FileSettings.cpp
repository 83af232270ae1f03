// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "operations/FileSettings.h"

#include "model/SettingsSet.h"

FileSettings::FileSettings(ParameterLink *link, const SettingsSet *seed, QObject *parent)
    : QObject(parent), m_settings(new SettingsSet(link, this)), m_track(new ItemTrack(m_settings, link, this))
{
    if (!seed)
        return;
    m_settings->units().setCurrentUnits(seed->units().current_units());
    for (Setting *s : m_settings->item_list())
        if (const Setting *mine = seed->byCode(s->get_serstring()))
            s->takeValueOf(*mine);
}

void FileSettings::read(const QStringList &lines)
{
    m_reading = m_track->fileReadLines(lines);
}

QStringList FileSettings::missing() const
{
    QStringList codes;
    for (Setting *s : m_settings->item_list())
        if (!m_reading.taken.contains(s))
            codes << s->get_serstring();
    return codes;
}
