// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/WalkReport.h"

#include "model/Setting.h"

#include <QStringList>

bool WalkReport::Entry::stands() const
{
    return result.ok() && setting->editCount() == editsAtExchange;
}

bool WalkReport::complete() const
{
    return ran && done() == entries.size();
}

int WalkReport::done() const
{
    int n = 0;
    for (const Entry &e : entries)
        n += e.result.ok() ? 1 : 0;
    return n;
}

QList<WalkReport::Entry> WalkReport::failed() const
{
    QList<Entry> out;
    for (const Entry &e : entries)
        if (!e.result.ok())
            out.append(e);
    return out;
}

const WalkReport::Entry *WalkReport::entryFor(const Setting *setting) const
{
    for (const Entry &e : entries)
        if (e.setting == setting)
            return &e;
    return nullptr;
}

QString WalkReport::failedText(int named) const
{
    const QList<Entry> notDone = failed();
    QStringList parts;
    for (const Entry &e : notDone.mid(0, named))
        parts << e.setting->get_serstring() + QLatin1Char(' ') + e.result.describe();
    QString text = parts.join(QStringLiteral(", "));
    if (notDone.size() > named)
        text += QStringLiteral(" and %1 more").arg(notDone.size() - named);
    return text;
}
