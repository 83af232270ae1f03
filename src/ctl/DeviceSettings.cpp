// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DeviceSettings.h"

#include "ctl/Console.h"
#include "ctl/DeviceSession.h"
#include "model/ListSetting.h"

DeviceSettings::DeviceSettings(DeviceSession &session, Console &console)
    : m_session(session), m_console(console), m_set(session.parameters()), m_track(&m_set, session.parameters())
{
    QObject::connect(&m_track, &ItemTrack::progress, [&console](const QString &text) { console.progress(text); });
}

bool DeviceSettings::read(const QString &progressPrefix)
{
    m_set.refresh_current_units();
    m_track.upload_all(progressPrefix);
    return m_session.answering();
}

bool DeviceSettings::write()
{
    m_set.refresh_current_units();
    m_track.download_all();
    return m_session.answering();
}

bool DeviceSettings::readOne(Setting *setting)
{
    setting->ser_read();
    if (!m_session.answering())
        return false;
    // Taken once more to learn whether it was: ser_read keeps a value it refuses quietly.
    const QString reply = m_session.parameters()->rcvstring();
    if (setting->take(reply))
        return true;
    m_console.error(QStringLiteral("the device on %1 answered R%2 with \"%3\", which is not a value of %2.")
                        .arg(m_session.where(), setting->get_serstring(), reply));
    return false;
}

bool DeviceSettings::readUnits()
{
    if (!readOne(m_set.units_item()))
        return false;
    m_set.refresh_current_units();
    return true;
}
