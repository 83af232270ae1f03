// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ItemTrack.h"
#include "model/SettingsSet.h"

class Console;
class DeviceSession;

// All 86 parameters on the session's link, with the walks that move them as the window's
// Upload and Download do, their progress on the console.
class DeviceSettings
{
public:
    DeviceSettings(DeviceSession &session, Console &console);

    SettingsSet &set() { return m_set; }
    ItemTrack &track() { return m_track; }

    // Reads every parameter; the prefix names the walk in its progress. False (the
    // console told) when the device stopped answering.
    bool read(const QString &progressPrefix = QStringLiteral("Uploading... "));
    // Writes every parameter, units first, in the unit the units setting names.
    bool write();
    // Reads one setting; false (the console told) when the device did not answer or
    // answered with something the setting does not take.
    bool readOne(Setting *setting);
    // Reads the units setting, so lengths read and written next are in the device's unit.
    bool readUnits();

private:
    DeviceSession &m_session;
    Console &m_console;
    SettingsSet m_set;
    ItemTrack m_track;
};
