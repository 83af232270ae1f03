// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/WalkReport.h"

#include <QObject>
#include <QStringList>

class ItemTrack;
class ParameterLink;
class BusyGuard;
class SettingsSet;

// The device's settings read into a set of their own, beside whatever the front end
// shows: the read walk of an upload, with its exchanges, pacing, progress and busy flag.
// Serves the check after a download, the comparisons with the device, the backups and
// qtx2ctl's reads. What was not read is named with why, and never stands as a value.
class DeviceReading : public QObject
{
    Q_OBJECT
public:
    DeviceReading(ParameterLink *link, BusyGuard *busyGuard, QObject *parent = nullptr);

    // Reads every setting; the prefix names the walk in its progress ("Verifying... ").
    // False when another walk held the busy flag and nothing was read.
    bool read(const QString &progressPrefix);

    SettingsSet *settings() const { return m_settings; }
    const WalkReport &report() const { return m_report; }
    bool complete() const { return m_report.complete(); }
    int size() const;
    int readCount() const { return m_report.done(); }
    // The device's length unit as it answered, or -1 when its reply was not read.
    int deviceUnits() const;
    // The device's state as a settings file holds it: every value as the device sent it,
    // lengths in the device's own unit, which the units line names. Empty unless every
    // setting was read: a partial state is not the device's.
    QStringList stateLines() const;

signals:
    void progress(const QString &text);

private:
    SettingsSet *m_settings;
    ItemTrack *m_track;
    WalkReport m_report;
};
