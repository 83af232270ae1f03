// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FaultSettings.h"

#include <QString>
#include <QStringList>

class Qtx2Device;

// What the qtx2-sim program is asked to be, from its command line.
struct SimOptions
{
    int port = 1;           // the "COM<n>" link's number
    int node = 0;
    int baud = 19200;
    bool lineTime = false;  // pace replies at baud
    int magnets = 1;        // on the probe, 0 to 15
    quint32 serial = 0x12345; // the CANbus serial number, the unit's own
    QString version = QStringLiteral("QTXv2.05");
    QString portsFolder;    // empty: the application's own ports folder
    int quitAfterSeconds = 0;
    bool verbose = false;
    FaultSettings faults;

    enum class Outcome { Run, Help, Version, Error };
    // Parses the program's arguments (the first one is the program). On Error, *message
    // says what is wrong; on Help, it holds the help text. On Version, the program prints
    // its own version.
    static Outcome parse(const QStringList &arguments, SimOptions *options, QString *message);

    // "\x80", "\r", "\n", "\t", "\\" in a byte text given on the command line.
    static QByteArray unescape(const QString &text);

    // Puts a device into the state the program starts it in: node, identity, faults, the
    // magnets on the probe, and an "XM" setting that matches them (at least 1, its lower
    // limit), as on a device set up for the probe it carries.
    void configure(Qtx2Device *device) const;
};
