// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

#include <memory>

class Command;
class Console;
class DeviceSession;
struct CtlRequest;

// The one table of qtx2ctl's commands: their arguments, options, help texts and the class
// that runs each. `qtx2ctl --help` lists them, `qtx2ctl COMMAND --help` explains one.
namespace CommandTable {

struct Option
{
    const char *name;
    const char *valueName; // nullptr: a flag
    const char *text;
};

using Maker = std::unique_ptr<Command> (*)(const CtlRequest &, DeviceSession &, Console &);

struct Entry
{
    const char *name;
    const char *arguments; // as the usage line shows them
    int minArguments;
    int maxArguments; // -1: any number
    const char *summary;
    const char *text;
    QList<Option> options;
    const char *example;
    Maker make;
};

const QList<Entry> &commands();
const Entry *find(const QString &name);

QString overallHelp();
QString helpOf(const Entry &command);

} // namespace CommandTable
