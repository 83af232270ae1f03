// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SettingsFile {

QByteArray bytes(const QStringList &lines)
{
    QByteArray data;
    for (const QString &line : lines) {
        data += line.toLatin1();
        data += "\r\n";
    }
    return data;
}

bool write(const QString &path, const QStringList &lines, QString *error)
{
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk, a quota) shows in write()'s count: a
    // buffered QSaveFile loses that error and commits the truncated file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray data = bytes(lines);
    const qint64 written = file.write(data);
    if (written != data.size()) {
        *error = file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("Only %1 of %2 bytes could be written; the disk may be full.")
                  .arg(qMax<qint64>(written, 0))
                  .arg(data.size());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

ReadResult read(const QString &path, QStringList *lines, QString *error)
{
    lines->clear();
    const QFileInfo info(path);
    if (!info.exists())
        return ReadResult::NotFound;
    if (!info.isFile()) {
        *error = QStringLiteral("It is not a file.");
        return ReadResult::Unreadable;
    }
    if (info.size() > MaxSize) {
        *error = QStringLiteral("At %1 bytes it is far too large to be a settings file.").arg(info.size());
        return ReadResult::TooLarge;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return ReadResult::Unreadable;
    }
    // Read to the end, whatever size the file claims (pipes and special files say 0).
    QByteArray data;
    while (!file.atEnd() && data.size() <= MaxSize) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError) {
            *error = file.errorString();
            return ReadResult::Unreadable;
        }
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    if (data.size() > MaxSize) {
        *error = QStringLiteral("It is far too large to be a settings file.");
        return ReadResult::TooLarge;
    }
    *lines = splitLines(data);
    return ReadResult::Ok;
}

QStringList splitLines(const QByteArray &data)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QString::fromLatin1(data.constData() + start, i - start));
        if (c == '\r' && i + 1 < n && data.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString::fromLatin1(data.constData() + start, n - start));
    return lines;
}

} // namespace SettingsFile
