// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class ItemTrack;
class ParameterLink;
class QTimer;
class Setting;
class SettingsSet;

// The device's settings read into a set of their own, beside the form's: the read walk of
// an upload, with its exchanges, pacing, progress and busy flag, that leaves the form
// untouched. Serves the check after a download, the comparison with the device and the
// backups.
class DeviceSnapshot : public QObject
{
    Q_OBJECT
public:
    DeviceSnapshot(ParameterLink *link, QTimer *busyTimer, QObject *parent = nullptr);

    // Reads every setting; the prefix names the walk in its progress ("Verifying... ").
    // False when another walk held the busy flag and nothing was read.
    bool read(const QString &progressPrefix);

    SettingsSet *settings() const { return m_settings; }
    // Settings that got no reply their kind took: their values here are not the device's.
    const QList<Setting *> &unread() const { return m_unread; }
    bool complete() const { return m_unread.isEmpty(); }
    int size() const;
    // As a settings file holds them, the units line first.
    QStringList file_lines() const;

signals:
    void progress(const QString &text);

private:
    SettingsSet *m_settings;
    ItemTrack *m_track;
    QList<Setting *> m_unread;
};
