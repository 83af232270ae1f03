// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/WalkReport.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class ParameterLink;
class BusyGuard;
class Setting;
class SettingsSet;

// The walks over every setting of a set, in item-list order: upload, download, the
// settings-file lines and the units reset. The units setting (code "PU") is always
// handled first and skipped in the walk, so lengths are read and written in the unit it
// names.
class ItemTrack : public QObject
{
    Q_OBJECT
public:
    ItemTrack(SettingsSet *settings, ParameterLink *link, QObject *parent = nullptr);

    const QList<Setting *> &item_list() const;
    SettingsSet *settings() const { return m_settings; }

    // The line's busy guard: a walk runs only while the line is free and holds it for its
    // whole length. Without one, walks always run.
    void setBusyGuard(BusyGuard *guard);

    // Reads every setting from the device. The prefix names the walk in its progress
    // texts: a read-back to verify or to keep a backup reads the same way. When the units
    // setting gets no value, no length is read: it would be taken in a unit the device may
    // not be in. Both walks report each setting's exchange; ran is false when the busy
    // flag was taken and they did nothing.
    WalkReport upload_all(const QString &progressPrefix = QStringLiteral("Uploading... "));
    // leftAlone: codes not written (a unit's own data), not in the report either.
    WalkReport download_all(const QStringList &leftAlone = {});
    // True while upload_all is reading: what changes then comes from the device.
    bool isUploading() const { return m_uploading; }
    // The lines of a settings file: the units line first, then every other setting's line;
    // lengths in the unit the units line names.
    QStringList fileLines();
    // What became of a file's lines.
    struct FileReading
    {
        QList<Setting *> taken;  // settings that took a line's value
        QStringList refused;     // lines a setting owns whose value it refused
        QStringList unknown;     // lines no setting owns
    };
    // Each line to the first setting that owns it. A units line makes the lengths that
    // follow read in its unit; afterwards current_units is the device's again.
    FileReading fileReadLines(const QStringList &lines);
    // The setting that took the line's value, or nullptr; *owned tells whether a setting
    // owns the line at all.
    Setting *file_read_line(const QString &line, bool *owned = nullptr);
    void resetUnitsAll();

signals:
    // The progress text of a walk ("Uploading...  50%"), empty when it ends.
    void progress(const QString &text);
    // Upload only: after each entry, so the window refreshes the tab caption colour.
    void itemRead();

private:
    bool claim();
    void release();
    static void note(WalkReport &report, Setting *setting, const ExchangeResult &result);

    SettingsSet *m_settings;
    ParameterLink *m_link;
    BusyGuard *m_guard = nullptr;
    bool m_uploading = false;
};
