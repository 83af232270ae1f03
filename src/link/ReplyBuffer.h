// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Collects the bytes of one reply until its carriage return. A reply ends at the first
// carriage return received, wherever it falls in a read; what follows it in the same read
// is dropped, and line feeds ahead of a reply are skipped, so a device that ends its
// replies with CR LF works however the line feed is delivered. The text before the
// carriage return may be at most `cap` bytes long; a longer one ends as an overflow and
// the buffer keeps only the first `cap` bytes.
class ReplyBuffer
{
public:
    enum class State { Incomplete, Complete, Overflow };

    explicit ReplyBuffer(int cap);

    // Adds one read. Once the reply is complete or has overflowed, further reads are ignored.
    State append(const QByteArray &data);
    State state() const;
    // The bytes kept so far; ends with the carriage return when complete.
    QByteArray received() const;

    // The payload of a reply: after a leading "*", trailing codes below 20 removed one by
    // one (a trailing blank stays). Noise before the "*" is dropped; a reply without "*"
    // is taken whole. Each byte is one character.
    static QString payload(const QByteArray &reply);

private:
    QByteArray m_bytes;
    int m_cap;
    State m_state = State::Incomplete;
};
