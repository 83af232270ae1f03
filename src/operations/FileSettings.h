// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ItemTrack.h"

#include <QObject>
#include <QStringList>

class ParameterLink;
class SettingsSet;

// A settings file's values in a set of their own, read as the window's Open reads them,
// with what became of every line: the settings that took a value, the lines refused (a
// value outside its limits, no such choice) and the lines no setting knows.
class FileSettings : public QObject
{
    Q_OBJECT
public:
    // link: where a download of these values goes (none for values only). seed: the values
    // the set holds where the file gives none (the form's, for what opening the file would
    // leave in the form); without one, the set's own.
    explicit FileSettings(ParameterLink *link = nullptr, const SettingsSet *seed = nullptr, QObject *parent = nullptr);

    void read(const QStringList &lines);

    SettingsSet *settings() const { return m_settings; }
    ItemTrack *track() const { return m_track; }
    const ItemTrack::FileReading &reading() const { return m_reading; }
    // The codes of the settings the file gave no value for, in item-list order.
    QStringList missing() const;

private:
    SettingsSet *m_settings;
    ItemTrack *m_track;
    ItemTrack::FileReading m_reading;
};
