// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Ways the simulated device can misbehave, switched on one by one by tests and by the
// technician running the simulator. All off by default: a healthy device.
struct FaultSettings
{
    bool silent = false;           // answers nothing at all
    bool noFactoryCommand = false; // "RFD" and "SFD" go unanswered, as on older devices
    int latencyMs = 0;             // before the first byte of every reply
    // Overrides latencyMs for one command: the whole command text ("RXM"), or its kind:
    // "RID", "RMV", "RFD", "WE", "WP", "SID", "SFD", "RD", "Rd", "R" (parameter read),
    // "S" (parameter write).
    QHash<QString, int> commandLatencyMs;
    int chunkSize = 0;             // > 0: replies leave in pieces of this many bytes
    int chunkGapMs = 0;            // silence between two pieces
    bool lineFeed = false;         // a line feed after each reply's carriage return
    QByteArray garbagePrefix;      // before each reply's "*"
    QByteArray garbageSuffix;      // after each reply's end
    int randomGarbage = 0;         // this many random bytes (any but CR) before each reply
    quint32 randomSeed = 12345;
    bool noTransducer = false;     // position reads answer "0NOXDCR"
    int pullCableAfter = -1;       // >= 0: the cable comes off after this many messages
    int answerAtNode = -1;         // >= 0: listens at this node, while "$0RID" reports its own
    bool endlessReply = false;     // replies never end: no CR, filler bytes for ever
    QString ignoredWrite;          // "S" + this code is answered as taken and changes nothing
    // Commands answered otherwise: a command beginning with the key ("RIA", "S") gets the
    // payload instead ("ERR CMD", "ERR WP") and does nothing; a null payload, no reply at
    // all. The longest key that begins a command counts.
    QHash<QString, QString> replies;
};
