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

    QString command;
    QStringList arguments;
    bool verify = false;  // download
    QString backup;       // factory-reset
    bool magnets = false; // monitor
    int count = 0;        // monitor: 0 runs until stopped
    int newNode = 0;      // set-node

    enum class Outcome { Run, Help, Version, Error };
    // Parses the program's arguments (the first is the program). On Help and Error, *text
    // holds what to print.
    static Outcome parse(const QStringList &arguments, CtlRequest *request, QString *text);
};
