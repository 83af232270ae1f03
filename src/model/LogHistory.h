// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QStringList>
#include <deque>

// Every line of the communications log since the program started or the log was last
// cleared, with its date, for saving: the pane shows only the last 20000 characters. At
// most MaxLines lines and MaxCharacters characters (line ends counted) are kept, the
// oldest going first.
class LogHistory
{
public:
    static constexpr int MaxLines = 100000;
    static constexpr qint64 MaxCharacters = 16 * 1024 * 1024;

    void append(const QDate &date, const QString &line);
    void clear();
    qint64 dropped() const;

    // The lines to save, oldest first. The first line is the date of the first kept line
    // and says how many were dropped, if any; a line with the new date comes before the
    // first line of each later date.
    QStringList lines() const;

private:
    struct Entry
    {
        QDate date;
        QString line;
    };
    std::deque<Entry> m_entries;
    qint64 m_characters = 0;
    qint64 m_dropped = 0;
};
