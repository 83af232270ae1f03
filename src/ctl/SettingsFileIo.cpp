// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/SettingsFileIo.h"

#include "ctl/Console.h"
#include "model/SettingsFile.h"
#include "operations/FileSettings.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace SettingsFileIo {
namespace {

SettingsFile::ReadResult readStandardInput(QStringList *lines, QString *error)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        *error = in.errorString();
        return SettingsFile::ReadResult::Unreadable;
    }
    const QByteArray data = in.read(SettingsFile::MaxSize + 1);
    if (data.size() > SettingsFile::MaxSize) {
        *error = QStringLiteral("more than %1 bytes: not a settings file.").arg(SettingsFile::MaxSize);
        return SettingsFile::ReadResult::TooLarge;
    }
    *lines = SettingsFile::splitLines(data);
    return SettingsFile::ReadResult::Ok;
}

} // namespace

ExitCode load(const QString &path, FileSettings &settings, Console &console)
{
    const bool standardInput = path == QLatin1String("-");
    const QString name = standardInput ? QStringLiteral("standard input") : QDir::toNativeSeparators(path);
    QStringList lines;
    QString error;
    switch (standardInput ? readStandardInput(&lines, &error) : SettingsFile::read(path, &lines, &error)) {
    case SettingsFile::ReadResult::NotFound:
        console.error(QStringLiteral("cannot read %1: there is no such file.").arg(name));
        return ExitCode::File;
    case SettingsFile::ReadResult::Unreadable:
    case SettingsFile::ReadResult::TooLarge:
        console.error(QStringLiteral("cannot read %1: %2").arg(name, error));
        return ExitCode::File;
    case SettingsFile::ReadResult::Ok:
        break;
    }
    settings.read(lines);
    const QStringList missing = settings.missing();
    if (missing.isEmpty())
        return ExitCode::Ok;
    constexpr int Named = 8;
    QString list = missing.mid(0, Named).join(QStringLiteral(", "));
    if (missing.size() > Named)
        list += QStringLiteral(" and %1 more").arg(missing.size() - Named);
    console.error(QStringLiteral("%1 gives no value (or one outside its limits) for %2; a settings file "
                                 "saved by QTX2 Setlink or qtx2ctl upload gives every parameter one.")
                      .arg(name, list));
    return ExitCode::File;
}

ExitCode save(const QString &path, const QStringList &lines, Console &console)
{
    if (path == QLatin1String("-")) {
        console.outBytes(SettingsFile::bytes(lines));
        return ExitCode::Ok;
    }
    QString error;
    if (SettingsFile::write(path, lines, &error))
        return ExitCode::Ok;
    console.error(QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), error));
    return ExitCode::File;
}

} // namespace SettingsFileIo
