// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMetaType>
#include <QString>

// What one position read gave: which position was read, the reply text as it came, what
// the reply says, and the number when it holds one. The window's read-outs, the position
// trend and the command-line monitor all take these.
struct PositionReading
{
    enum class Status {
        Value,        // a position: value holds it
        NoMagnet,     // "0NOMAG": this magnet, and every higher one, is not on the probe
        NoTransducer, // "0NOXDCR": no transducer; for a magnet, every higher one too
        TimedOut,     // no reply in time; reply is the link's "No Magnet"
        NotConnected, // no port open, so nothing was read (or the port closed during the wait)
        Unreadable,   // a reply that holds no position (no leading number, or one beyond single precision)
    };

    static constexpr int Displayed = 0;
    static constexpr int LastMagnet = 15;

    int position = Displayed; // Displayed, or magnet k from 1 to LastMagnet
    Status status = Status::NotConnected;
    QString reply;
    double value = 0; // meaningful only for Status::Value
    int unit = -1;    // the device's length unit at the read (a LengthUnits index), -1 when not known

    bool hasValue() const { return status == Status::Value; }
    // The highest position the reading speaks for: a missing magnet or transducer found
    // at magnet k holds for magnets k to 15.
    int lastPosition() const;

    // The reading of a reply to a read of position; connected says whether the port was
    // still open once the reply was in.
    static PositionReading fromReply(int position, const QString &reply, bool connected);
};

Q_DECLARE_METATYPE(PositionReading)
