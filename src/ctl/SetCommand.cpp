// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/SetCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/SettingCodes.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"
#include "operations/CheckedWrite.h"

#include <algorithm>

ExitCode SetCommand::run()
{
    QList<QPair<QString, QString>> pairs;
    for (const QString &argument : m_request.arguments) {
        const qsizetype eq = argument.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            m_console.error(QStringLiteral("set takes CODE=VALUE, not \"%1\".").arg(argument));
            return ExitCode::Usage;
        }
        const QString why = SettingCodes::unknown(argument.left(eq));
        if (!why.isEmpty()) {
            m_console.error(why);
            return ExitCode::Usage;
        }
        pairs.append({argument.left(eq), argument.mid(eq + 1)});
    }
    std::stable_partition(pairs.begin(), pairs.end(), [](const auto &p) { return p.first == QLatin1String("PU"); });

    if (!m_session.connect())
        return ExitCode::NoDevice;
    SettingsSet set(m_session.parameters());
    const ExitCode unitsRead = m_session.readUnits(set);
    if (unitsRead != ExitCode::Ok)
        return unitsRead;
    QList<Setting *> writes;
    for (const auto &[code, text] : std::as_const(pairs)) {
        Setting *setting = set.byCode(code);
        QString value, why;
        if (!SettingCodes::parse(*setting, text, set.units(), &value, &why) || !setting->take(value)) {
            m_console.error(QStringLiteral("%1=%2: %1 takes %3.").arg(code, text, why));
            return ExitCode::Usage;
        }
        if (setting == set.unitsItem())
            set.refreshCurrentUnits();
        if (!writes.contains(setting))
            writes.append(setting);
    }
    const QList<CheckedWrite::Row> rows = CheckedWrite::run(m_session.parameters(), set, writes);
    QStringList written;
    for (const CheckedWrite::Row &row : rows)
        if (row.write.ok())
            written << row.setting->get_serstring();
    const ExitCode end = m_session.ended(QStringLiteral("written: ") + (written.isEmpty() ? QStringLiteral("none") : written.join(QLatin1Char(' '))));
    if (end != ExitCode::Ok)
        return end;
    ExitCode code = ExitCode::Ok;
    for (const CheckedWrite::Row &row : rows) {
        if (row.held)
            continue;
        code = ExitCode::NotDone;
        const QString name = row.setting->get_serstring();
        if (!row.write.ok())
            m_console.error(QStringLiteral("the device on %1 answered the write of %2 with %3.")
                                .arg(m_session.where(), name, row.write.describe()));
        else
            m_console.out(QStringLiteral("%1 set=%2 device=%3 (%4)")
                              .arg(name, row.setText, row.deviceText, row.setting->parameter()->distinctTitle()));
    }
    return code;
}
