// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

class BackupStore;
class ParameterLink;
class BusyGuard;

// A copy of the device's settings kept before an action overwrites them: the device read
// as it is, without touching any form, and saved among the backups as the device's state.
// A read that is incomplete is never saved as if it were a backup.
class DeviceBackup : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        Saved,
        Busy,       // another walk held the busy flag: nothing was read (the action's own walk does nothing either)
        Incomplete, // not every setting was read: nothing saved
        NotWritten, // the file could not be written: nothing saved
    };
    struct Result
    {
        Outcome outcome = Outcome::Busy;
        QString path;  // Saved: the file
        QString why;   // NotWritten: in words, for the user
        int read = 0;  // settings read, of total
        int total = 0;
    };

    DeviceBackup(ParameterLink *link, BusyGuard *busyGuard, QObject *parent = nullptr);

    // origin names where the settings come from ("COM1 node 0"), reason why they are kept
    // ("before download"); both end the file's name.
    Result make(const BackupStore &store, const QString &origin, const QString &reason);

signals:
    void progress(const QString &text); // the read's

private:
    ParameterLink *m_link;
    BusyGuard *m_guard;
};
