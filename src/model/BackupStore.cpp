#include "model/BackupStore.h"

#include "model/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// The time leads the name, so names sort as the backups were made; a second backup in
// the same second gets "-2" after the time, which sorts after the first.
const QRegularExpression &backupName()
{
    static const QRegularExpression re(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d(-\\d+)? .*\\.txt$"));
    return re;
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
    *path = dir.filePath(time + rest);
    for (int n = 2; QFileInfo::exists(*path); ++n)
        *path = dir.filePath(time + QLatin1Char('-') + QString::number(n) + rest);
    if (!SettingsFile::write(*path, lines, error))
        return false;
    prune();
    return true;
}

QStringList BackupStore::backups() const
{
    QStringList names = QDir(m_folder).entryList(QDir::Files, QDir::Name | QDir::Reversed);
    names = names.filter(backupName());
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
