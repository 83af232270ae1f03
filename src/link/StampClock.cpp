// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/StampClock.h"

#include <QDateTime>

QTime StampClock::now()
{
    const qint64 msecs = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = msecs >= 0 ? msecs / 1000 : (msecs - 999) / 1000;
    if (second != m_second) {
        m_second = second;
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(second * 1000);
        m_time = local.time();
        m_date = local.date();
    }
    return m_time;
}

QDate StampClock::date() const
{
    return m_date;
}
