#include "link/ExchangeLog.h"

namespace ExchangeLog {

QString line(const QTime &time, const QString &sent, const QString &reply)
{
    return time.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(": ") + sent + QStringLiteral(" -> ") + reply;
}

} // namespace ExchangeLog
