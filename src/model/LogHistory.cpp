// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/LogHistory.h"

namespace {
constexpr qint64 LineEndLength = 2; // CR LF in the saved file
}

void LogHistory::append(const QDate &date, const QString &line)
{
    m_entries.push_back(Entry{date, line});
    m_characters += line.size() + LineEndLength;
    // The newest line stays, however long.
    while (m_entries.size() > 1 && (m_entries.size() > size_t(MaxLines) || m_characters > MaxCharacters)) {
        m_characters -= m_entries.front().line.size() + LineEndLength;
        m_entries.pop_front();
        ++m_dropped;
    }
}

void LogHistory::clear()
{
    m_entries.clear();
    m_characters = 0;
    m_dropped = 0;
}

qint64 LogHistory::dropped() const
{
    return m_dropped;
}

QStringList LogHistory::lines() const
{
    QStringList out;
    if (m_entries.empty())
        return out;
    out.reserve(qsizetype(m_entries.size()) + 1);
    QDate date = m_entries.front().date;
    QString first = date.toString(Qt::ISODate);
    if (m_dropped > 0)
        first += QStringLiteral(" (%1 earlier lines were dropped: the log keeps the last %2 lines and %3 MiB.)")
                     .arg(m_dropped)
                     .arg(MaxLines)
                     .arg(MaxCharacters / (1024 * 1024));
    out << first;
    for (const Entry &entry : m_entries) {
        if (entry.date != date) {
            date = entry.date;
            out << date.toString(Qt::ISODate);
        }
        out << entry.line;
    }
    return out;
}
