// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DiffReport.h"

#include "ctl/Console.h"
#include "ctl/JsonOutput.h"
#include "model/Setting.h"
#include "operations/SettingsComparison.h"

#include <QJsonArray>
#include <QStringList>

namespace DiffReport {
namespace {

QString titleOf(const Setting &s)
{
    return s.parameter() ? s.parameter()->distinctTitle() : QString();
}

} // namespace

ExitCode print(const SettingsComparison &comparison, const QString &side, Console &console)
{
    QStringList notCompared;
    for (const SettingsComparison::Row &r : comparison.rows()) {
        if (!r.takeable()) {
            notCompared << r.mine->get_serstring() + QLatin1Char(' ') + r.otherText;
            continue;
        }
        QString line = r.mine->get_serstring() + QLatin1Char(' ') + side + QLatin1Char('=') + r.mineText
            + QStringLiteral(" device=") + r.otherText;
        if (!titleOf(*r.mine).isEmpty())
            line += QStringLiteral(" (") + titleOf(*r.mine) + QLatin1Char(')');
        console.out(line);
    }
    if (!notCompared.isEmpty())
        console.error(QStringLiteral("not compared: ") + notCompared.join(QStringLiteral(", ")) + QLatin1Char('.'));
    return code(comparison);
}

QJsonObject json(const SettingsComparison &comparison, const QString &side)
{
    QJsonArray differences, notCompared;
    for (const SettingsComparison::Row &r : comparison.rows()) {
        QJsonObject row{{QStringLiteral("code"), r.mine->get_serstring()}, {QStringLiteral("title"), titleOf(*r.mine)}};
        if (!r.takeable()) {
            row.insert(QStringLiteral("why"), r.otherText);
            notCompared.append(row);
            continue;
        }
        for (const QJsonObject &part : {JsonOutput::value(*r.mine, r.mineText, side), JsonOutput::value(*r.other, r.otherText, QStringLiteral("device"))})
            for (auto it = part.begin(); it != part.end(); ++it)
                row.insert(it.key(), it.value());
        differences.append(row);
    }
    return {{QStringLiteral("matches"), comparison.matches()},
            {QStringLiteral("compared"), comparison.compared()},
            {QStringLiteral("total"), comparison.total()},
            {QStringLiteral("differences"), differences},
            {QStringLiteral("notCompared"), notCompared}};
}

ExitCode code(const SettingsComparison &comparison)
{
    return comparison.matches() ? ExitCode::Ok : ExitCode::Differences;
}

} // namespace DiffReport
