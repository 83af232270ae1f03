// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/UserPrompt.h"

class Console;

// The link's messages (a write protection it could not lift, say) as lines on standard
// error. Nothing asks for a file name here: files come from the command line.
class ConsolePrompt : public UserPrompt
{
public:
    explicit ConsolePrompt(Console &console) : m_console(console) {}

    void message(const QString &text, const QString &details = QString()) override;
    QString openFileName() override { return QString(); }
    QString saveFileName() override { return QString(); }

private:
    Console &m_console;
};
