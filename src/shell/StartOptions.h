// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What qtx2setlink is asked to do from its command line: the connection to select in the
// connection panel, and whether to connect at once.
struct StartOptions
{
    std::optional<int> port;   // n of "COMn", 1 to 16
    std::optional<int> baud;   // one of the speeds the panel offers, in bit/s
    std::optional<int> node;   // -1 for automatic detection, else 0 to 9
    bool connect = false;

    enum class Outcome { Run, Help, Version, Error };
    // Parses the program's arguments (the first one is the program). On Help and Version,
    // *message holds the text to print; on Error, it says what is wrong.
    static Outcome parse(const QStringList &arguments, StartOptions *options, QString *message);

    // "qtx2setlink 1.0.0", then the copyright and licence lines.
    static QString versionText();
};
