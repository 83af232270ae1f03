// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/BackupStore.h"

#include "model/SettingsFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

// The time leads the name; a later backup in the same second, whatever its reason, gets
// "-2", "-3"... after the time. Backups sort by that time and number, not by the reason.
const QRegularExpression &backupName()
{
    static const QRegularExpression re(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d)(?:-(\\d+))? .*\\.txt$"));
    return re;
}

struct Stamp
{
    QString time;
    int number = 1;
    bool operator<(const Stamp &other) const
    {
        return time != other.time ? time < other.time : number < other.number;
    }
};

Stamp stampOf(const QString &name)
{
    const QRegularExpressionMatch m = backupName().match(name);
    return {m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()};
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
    const QString time = when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString rest = QLatin1Char(' ') + origin + QLatin1Char(' ') + reason + QStringLiteral(".txt");
    int number = 0;
    for (const QString &name : dir.entryList(QDir::Files)) {
        const Stamp stamp = stampOf(name);
        if (stamp.time == time)
            number = qMax(number, stamp.number);
    }
    *path = dir.filePath(number == 0 ? time + rest : time + QLatin1Char('-') + QString::number(number + 1) + rest);
    if (!SettingsFile::write(*path, lines, error))
        return false;
    prune();
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

void BackupStore::prune() const
{
    const QStringList all = backups();
    for (int i = Kept; i < all.size(); ++i)
        QFile::remove(all.at(i));
}
