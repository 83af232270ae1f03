// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/ExitCode.h"

#include <QString>
#include <QStringList>

class Console;
class FileSettings;

// Settings files for the commands, read as the window's Open reads them and written as
// its Save writes them; what goes wrong is told on the console (exit code 4).
namespace SettingsFileIo {

// Reads the file into the settings. The file must give every parameter a value it takes:
// a file that left one out would have the set's own value written in its place.
ExitCode load(const QString &path, FileSettings &settings, Console &console);
// Writes the lines; "-" is standard output.
ExitCode save(const QString &path, const QStringList &lines, Console &console);

} // namespace SettingsFileIo
