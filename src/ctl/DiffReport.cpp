// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DiffReport.h"

#include "ctl/Console.h"
#include "model/Setting.h"

namespace DiffReport {

void print(const QList<SettingsDiff::Difference> &differences, Console &console)
{
    for (const SettingsDiff::Difference &d : differences) {
        QString line = QStringLiteral("%1 file=%2 device=%3")
                           .arg(d.mine->get_serstring(), d.mine->file_value(), d.other->file_value());
        const QString title = d.mine->parameter() ? d.mine->parameter()->title : QString();
        if (!title.isEmpty())
            line += QStringLiteral(" (%1)").arg(title);
        console.out(line);
    }
}

} // namespace DiffReport
