// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/PositionReading.h"

#include "model/NumberText.h"

#include <cmath>
#include <limits>

namespace {

// The reply begins with a number (blanks skipped, as the leading-number rule skips them):
// a digit, or a sign or point followed by one. A text such as "abc" reads as 0 by that
// rule, which is no position.
bool startsWithNumber(const QString &reply)
{
    QString text = reply;
    text.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QLatin1Char('\n'));
    int i = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    if (i < text.size() && text.at(i) == QLatin1Char('.'))
        ++i;
    return i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128;
}

} // namespace

int PositionReading::lastPosition() const
{
    const bool wholeProbe = status == Status::NoMagnet || status == Status::NoTransducer;
    return wholeProbe && position != Displayed ? LastMagnet : position;
}

PositionReading PositionReading::fromReply(int position, const QString &reply, bool connected)
{
    PositionReading r;
    r.position = position;
    r.reply = reply;
    if (!connected)
        r.status = Status::NotConnected;
    else if (reply == QLatin1String("0NOMAG"))
        r.status = Status::NoMagnet;
    else if (reply == QLatin1String("0NOXDCR"))
        r.status = Status::NoTransducer;
    else if (reply == QLatin1String("No Magnet"))
        r.status = Status::TimedOut;
    else {
        r.value = NumberText::leadingValue(reply);
        const bool fits = std::isfinite(r.value) && std::fabs(r.value) <= std::numeric_limits<float>::max();
        r.status = fits && startsWithNumber(reply) ? Status::Value : Status::Unreadable;
        if (r.status != Status::Value)
            r.value = 0;
    }
    return r;
}
