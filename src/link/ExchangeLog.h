// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QTime>

// The communications log's line for one exchange, shared by the window's log pane and
// the command-line tool's verbose output: "HH:mm:ss: " + message as sent + " -> " + reply.
namespace ExchangeLog {

QString line(const QTime &time, const QString &sent, const QString &reply);
// The same with milliseconds: "HH:mm:ss.zzz: ", for a log that times the line.
QString preciseLine(const QTime &time, const QString &sent, const QString &reply);

} // namespace ExchangeLog
