// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/ConsolePrompt.h"

#include "ctl/Console.h"

void ConsolePrompt::message(const QString &text, const QString &details)
{
    m_console.error(details.isEmpty() ? text : text + QStringLiteral(" (") + details + QLatin1Char(')'));
}
