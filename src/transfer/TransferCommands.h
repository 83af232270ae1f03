// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "catalogue/SetupForm.h"
#include "model/WalkReport.h"

#include <QObject>

class DeviceBackup;
class EditTracker;
class ItemTrack;
class BusyGuard;
class SerialForm;
class SettingsSet;
class UserPrompt;

// The commands that move all settings at once: upload, download, open and save a
// settings file, open a backup, reset to factory defaults and reset units. The device's
// settings are backed up before a factory reset and, by choice, before a download; the
// user's edits stay marked until a walk was seen to carry them (or a file's value
// replaced them). The window's menus and toolbar call these; the window shows progress
// and the caption colour.
class TransferCommands : public QObject
{
    Q_OBJECT
public:
    TransferCommands(ItemTrack *track, SerialForm *link, SetupForm *form, BusyGuard *busyGuard,
                     UserPrompt *prompt, QObject *parent = nullptr);

    EditTracker *tracker() const { return m_tracker; }
    DeviceBackup *backup() const { return m_backup; }
    void setBackupBeforeDownload(bool on) { m_backupBeforeDownload = on; }

public slots:
    void upload();
    void download();
    void openFile();
    void openPath(const QString &path);
    void restoreBackup();
    void saveFile();
    void factoryReset();
    void reset_units();

signals:
    void progress(const QString &text);      // panel 2 of the status bar
    void syncColour(SyncColour colour);      // the tab caption colour
    // A download's walk ran, the link is up, so its values may be checked.
    void downloaded();
    // What the device holds, as far as the walks tell: an upload's walk read the form's
    // values from it; a walk wrote to these settings, so what was read of them may be old;
    // the device reset itself, so nothing read before holds.
    void deviceRead(const WalkReport &report);
    void deviceWritten(const WalkReport &report);
    void deviceReset();

private:
    void emitLinkColour();
    // After a walk: marks go where its exchanges carried the edit; black only for a form
    // the device was seen to hold in full with no edit left over.
    void settle(const WalkReport &report);
    // What a walk that did not do every setting leaves in panel 2: how far it came, why not.
    void reportIncomplete(const QString &walk, const QString &verb, const WalkReport &report);
    // A backup before action, or the user's word to go on without one.
    bool backUp(const QString &reason, const QString &action);
    bool goOnWithout(const QString &why, const QString &action);

    ItemTrack *m_track;
    SerialForm *m_link;
    SetupForm *m_form;
    SettingsSet *m_settings;
    BusyGuard *m_guard;
    UserPrompt *m_prompt;
    EditTracker *m_tracker;
    DeviceBackup *m_backup;
    bool m_backupBeforeDownload = true;
    QString m_linkState = QStringLiteral("Disconnected");
};
