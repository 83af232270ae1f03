// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/BackupStore.h"

#include "model/SettingsFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

// "2026-12-06 14-03-22 #17 COM1 node 0 before download.txt": the time says when for the
// reader, the number says in which order. The clock can go back (a changed time zone, a
// machine without a clock battery), the number only goes up. Names of the earlier form
// ("time", "time-2", no number) sort before every numbered one, by their time.
const QRegularExpression &backupName()
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d)(?:-(\\d+))?(?: #(\\d+))? .*\\.txt$"));
    return re;
}

struct Stamp
{
    qint64 serial = 0; // 0: a name of the earlier form
    QString time;
    int number = 1;
    bool operator<(const Stamp &other) const
    {
        if (serial != other.serial)
            return serial < other.serial;
        return time != other.time ? time < other.time : number < other.number;
    }
};

Stamp stampOf(const QString &name)
{
    const QRegularExpressionMatch m = backupName().match(name);
    return {m.captured(3).toLongLong(), m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()};
}

} // namespace

QString BackupStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

BackupStore::BackupStore(const QString &folder) : m_folder(folder) {}

bool BackupStore::write(const QStringList &lines, const QString &origin, const QString &reason, QString *path,
                        QString *error, const QDateTime &when) const
{
    const QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("The folder cannot be made there.");
        return false;
    }
    qint64 serial = 0;
    for (const QString &name : dir.entryList(QDir::Files))
        serial = qMax(serial, stampOf(name).serial);
    *path = dir.filePath(when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) + QStringLiteral(" #")
                         + QString::number(serial + 1) + QLatin1Char(' ') + origin + QLatin1Char(' ') + reason
                         + QStringLiteral(".txt"));
    if (!SettingsFile::write(*path, lines, error))
        return false;
    prune(*path);
    return true;
}

QStringList BackupStore::backups() const
{
    QStringList names = QDir(m_folder).entryList(QDir::Files, QDir::Name | QDir::Reversed).filter(backupName());
    std::stable_sort(names.begin(), names.end(),
                     [](const QString &a, const QString &b) { return stampOf(b) < stampOf(a); });
    QStringList paths;
    for (const QString &name : std::as_const(names))
        paths.append(QDir(m_folder).filePath(name));
    return paths;
}

void BackupStore::prune(const QString &kept) const
{
    QStringList all = backups();
    all.removeOne(kept); // whatever its place, the backup just written stays
    for (int i = Kept - 1; i < all.size(); ++i)
        QFile::remove(all.at(i));
}
