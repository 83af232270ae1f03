// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/LogHistory.h"

void LogHistory::append(const QString &line)
{
    if (m_lines.size() >= MaxLines) {
        m_lines.removeFirst();
        ++m_dropped;
    }
    m_lines.append(line);
}

void LogHistory::clear()
{
    m_lines.clear();
    m_dropped = 0;
}

qint64 LogHistory::dropped() const
{
    return m_dropped;
}

QStringList LogHistory::lines() const
{
    if (m_dropped == 0)
        return m_lines;
    return QStringList{QStringLiteral("(%1 earlier lines were dropped: the log keeps the last %2.)")
                           .arg(m_dropped)
                           .arg(MaxLines)}
        + m_lines;
}
