// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What became of one setting's exchange with the device. Only Done is evidence that the
// device holds (a write) or sent (a read) the value; every other outcome says why not.
struct ExchangeResult
{
    enum class Kind {
        Done,
        NoReply,      // the exchange got no reply, or nothing could be sent
        Refused,      // the device answered with an error ("ERR CMD", "ERR WP")
        NotAValue,    // a read's reply the setting cannot hold: no number, no such choice, beyond its limits
        UnitsUnknown, // a length not read because the device's length unit was not read
    };

    Kind kind = Kind::NoReply;
    QString reply; // the device's reply, for Refused and NotAValue

    bool ok() const { return kind == Kind::Done; }
    // "(no reply)", "refused: ERR CMD", "not a value: \"abc\"", "(units not read)"; empty for Done.
    QString describe() const;

    // A reply that reports an error instead of a value or an acceptance.
    static bool isRefusal(const QString &reply);
};
