// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The automatic backups: settings files in a folder of their own, each named for when,
// in which order and from where its settings were read and why ("2026-12-06 14-03-22 #17
// COM1 node 0 before factory reset.txt"). The newest Kept, by their order of making, are
// kept; other files in the folder are left alone.
class BackupStore
{
public:
    static constexpr int Kept = 50;

    // The per-user data folder's "backups".
    static QString defaultFolder();
    explicit BackupStore(const QString &folder = defaultFolder());

    QString folder() const { return m_folder; }
    // origin: "COM1 node 0"; reason: "before download". Writes atomically, then keeps the
    // newest Kept, the one just written always among them. False, with why in error, when the folder or the file cannot be written.
    bool write(const QStringList &lines, const QString &origin, const QString &reason, QString *path,
               QString *error, const QDateTime &when = QDateTime::currentDateTime()) const;
    // Full paths, newest first.
    QStringList backups() const;

private:
    void prune(const QString &kept) const;

    QString m_folder;
};
