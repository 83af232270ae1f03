// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DiffReport.h"

#include "ctl/Console.h"
#include "model/Setting.h"
#include "operations/SettingsComparison.h"

#include <QStringList>

namespace DiffReport {

ExitCode print(const SettingsComparison &comparison, Console &console)
{
    QStringList notCompared;
    for (const SettingsComparison::Row &r : comparison.rows()) {
        if (!r.takeable()) {
            notCompared << r.mine->get_serstring() + QLatin1Char(' ') + r.otherText;
            continue;
        }
        QString line = r.mine->get_serstring() + QStringLiteral(" file=") + r.mineText + QStringLiteral(" device=")
            + r.otherText;
        const QString title = r.mine->parameter() ? r.mine->parameter()->title : QString();
        if (!title.isEmpty())
            line += QStringLiteral(" (") + title + QLatin1Char(')');
        console.out(line);
    }
    if (!notCompared.isEmpty())
        console.error(QStringLiteral("not compared: ") + notCompared.join(QStringLiteral(", ")) + QLatin1Char('.'));
    return comparison.matches() ? ExitCode::Ok : ExitCode::Differences;
}

} // namespace DiffReport
