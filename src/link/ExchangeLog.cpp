// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/ExchangeLog.h"

namespace ExchangeLog {

// Every exchange of a walk is logged: the time is put together by hand rather than by
// QTime::toString, which reads its format text each time.
QString line(const QTime &time, const QString &sent, const QString &reply)
{
    QString out;
    out.reserve(12 + sent.size() + reply.size());
    if (time.isValid()) {
        const auto twoDigits = [&out](int value) {
            out += QChar(u'0' + value / 10);
            out += QChar(u'0' + value % 10);
        };
        twoDigits(time.hour());
        out += QLatin1Char(':');
        twoDigits(time.minute());
        out += QLatin1Char(':');
        twoDigits(time.second());
    }
    out += QLatin1String(": ");
    out += sent;
    out += QLatin1String(" -> ");
    out += reply;
    return out;
}

QString preciseLine(const QTime &time, const QString &sent, const QString &reply)
{
    return time.toString(QStringLiteral("HH:mm:ss.zzz: ")) + sent + QLatin1String(" -> ") + reply;
}

} // namespace ExchangeLog
