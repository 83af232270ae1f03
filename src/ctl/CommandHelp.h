// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

// The commands qtx2ctl knows, their arguments and options, and the help that explains
// them: `qtx2ctl --help` for all, `qtx2ctl COMMAND --help` for one.
namespace CommandHelp {

struct Option
{
    const char *name;
    const char *valueName; // nullptr: a flag
    const char *text;
};

struct Command
{
    const char *name;
    const char *arguments; // as the usage line shows them
    int minArguments;
    int maxArguments; // -1: any number
    const char *summary;
    const char *text;
    QList<Option> options;
    const char *example;
};

const QList<Command> &commands();
const Command *find(const QString &name);

QString overall();
QString of(const Command &command);

} // namespace CommandHelp
