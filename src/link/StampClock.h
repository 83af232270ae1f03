// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QTime>

// The local time of day for the log's stamps, which show whole seconds. The C library
// looks at the time zone file on every conversion to local time, and a walk logs an
// exchange every few milliseconds: this converts once per second of the system clock.
class StampClock
{
public:
    QTime now();
    QDate date() const; // the date of the time now() last gave

private:
    qint64 m_second = -1; // the system clock's second m_time was converted for
    QTime m_time;
    QDate m_date;
};
