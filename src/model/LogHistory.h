// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

// Every line of the communications log since the program started or the log was last
// cleared, for saving: the pane shows only the last 20000 characters. At most MaxLines
// are kept, the oldest going first.
class LogHistory
{
public:
    static constexpr int MaxLines = 100000;

    void append(const QString &line);
    void clear();
    qint64 dropped() const;

    // The lines to save, oldest first; when lines were dropped, a note saying how many
    // comes first.
    QStringList lines() const;

private:
    QStringList m_lines;
    qint64 m_dropped = 0;
};
