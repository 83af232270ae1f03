// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// A settings file on disk: plain 8-bit text, one setting per line. Lines are written
// ending in CR LF; reading accepts CR LF, LF and a lone CR, so a file saved on one
// system loads on another.
namespace SettingsFile {

// A settings file holds about 90 short lines; anything far larger is not one.
constexpr qint64 MaxSize = 1024 * 1024;

enum class ReadResult { Ok, NotFound, Unreadable, TooLarge };

// The bytes of a settings file holding these lines.
QByteArray bytes(const QStringList &lines);

// Writes all lines atomically: on failure the previous file, if any, is untouched and
// error tells why.
bool write(const QString &path, const QStringList &lines, QString *error);

// Reads the lines of the file (without their line ends). An empty file gives no lines.
ReadResult read(const QString &path, QStringList *lines, QString *error);

// Splits 8-bit text into lines at CR LF, LF or a lone CR.
QStringList splitLines(const QByteArray &data);

} // namespace SettingsFile
