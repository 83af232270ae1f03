// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ExchangeResult.h"

QString ExchangeResult::describe() const
{
    switch (kind) {
    case Kind::Done:
        break;
    case Kind::NoReply:
        return QStringLiteral("(no reply)");
    case Kind::Refused:
        return QStringLiteral("refused: ") + reply;
    case Kind::NotAValue:
        return QStringLiteral("not a value: \"") + reply + QLatin1Char('"');
    case Kind::UnitsUnknown:
        return QStringLiteral("(units not read)");
    }
    return QString();
}

bool ExchangeResult::isRefusal(const QString &reply)
{
    return reply.startsWith(QLatin1String("ERR"));
}
