// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "catalogue/SetupForm.h"

#include <QObject>

class DeviceBackup;
class EditTracker;
class ItemTrack;
class QTimer;
class SerialForm;
class SettingsSet;
class UserPrompt;

// The commands that move all settings at once: upload, download, open and save a
// settings file, open a backup, reset to factory defaults and reset units. The device's
// settings are backed up before a factory reset and, by choice, before a download; the
// user's edits are tracked until a transfer or a file makes the form a known state again.
// The window's menus and toolbar call these; the window shows progress and the caption
// colour.
class TransferCommands : public QObject
{
    Q_OBJECT
public:
    TransferCommands(ItemTrack *track, SerialForm *link, SetupForm *form, QTimer *positionTimer,
                     UserPrompt *prompt, QObject *parent = nullptr);

    EditTracker *tracker() const { return m_tracker; }
    DeviceBackup *backup() const { return m_backup; }
    void set_backup_before_download(bool on) { m_backupBeforeDownload = on; }

public slots:
    void upload();
    void download();
    void open_file();
    void open_path(const QString &path);
    void restore_backup();
    void save_file();
    void factory_reset();
    void reset_units();

signals:
    void progress(const QString &text);      // panel 2 of the status bar
    void syncColour(SyncColour colour);      // the tab caption colour
    // A download's walk ran to its end, so its values may be checked.
    void downloaded();

private:
    void emitLinkColour();
    void emitEndColour(bool wasConnected);
    // After a walk: the form is a known state again, unless the link was lost on the way.
    void clearMarks(bool ran, bool wasConnected);

    ItemTrack *m_track;
    SerialForm *m_link;
    SetupForm *m_form;
    SettingsSet *m_settings;
    QTimer *m_timer;
    UserPrompt *m_prompt;
    EditTracker *m_tracker;
    DeviceBackup *m_backup;
    bool m_backupBeforeDownload = true;
};
