// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// What one run of qtx2ctl is asked to do, from its command line: where the device is,
// the command, its arguments and its options.
struct CtlRequest
{
    int port = 1;       // COMn, unless a device path is given
    QString device;
    int baud = 19200;
    int node = -1;      // -1: asked of the device, as the window's "Auto"
    bool verbose = false;
    bool quiet = false;

    QString command;
    QStringList arguments;
    bool json = false;     // info, codes, get, download, diff
    bool verify = false;   // download
    bool all = false;      // download, diff: per-unit codes too
    QStringList keep;      // download, diff: codes left as the unit has them, besides CS
    bool factory = false;  // diff: against the factory settings
    int unit = -1;         // get: lengths in this unit; -1 the device's
    QString backup;        // factory-reset
    bool magnets = false;  // monitor
    int count = 0;         // monitor: 0 runs until stopped
    int interval = 250;    // monitor, milliseconds
    int newNode = 0;       // set-node

    // The codes a download leaves alone and a diff leaves out: the per-unit CS (unless
    // --all) and those --keep names.
    QStringList keptCodes() const;

    enum class Outcome { Run, Help, Version, Error };
    // Parses the program's arguments (the first is the program). On Help and Error, *text
    // holds what to print.
    static Outcome parse(const QStringList &arguments, CtlRequest *request, QString *text);
};
