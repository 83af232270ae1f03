#include "ctl/ConsolePrompt.h"

#include "ctl/Console.h"

void ConsolePrompt::message(const QString &text, const QString &details)
{
    m_console.error(details.isEmpty() ? text : text + QStringLiteral(" (") + details + QLatin1Char(')'));
}
