// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/GetCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/JsonOutput.h"
#include "ctl/SettingCodes.h"
#include "model/LengthUnits.h"
#include "model/ListSetting.h"
#include "model/NumberText.h"
#include "model/SettingsSet.h"

ExitCode GetCommand::run()
{
    for (const QString &code : m_request.arguments) {
        const QString why = SettingCodes::unknown(code);
        if (!why.isEmpty()) {
            m_console.error(why);
            return ExitCode::Usage;
        }
    }
    if (!m_session.connect())
        return ExitCode::NoDevice;
    SettingsSet set(m_session.parameters());
    // Lengths are read in the unit the device answers with.
    const ExitCode unitsRead = m_session.readUnits(set);
    if (unitsRead != ExitCode::Ok)
        return unitsRead;
    const int shownIn = m_request.unit >= 0 ? m_request.unit : set.units().current_units();
    const QString unitName = LengthUnits::selectorTexts().value(shownIn);
    QStringList lines;
    QJsonArray values;
    for (const QString &code : m_request.arguments) {
        Setting *setting = set.byCode(code);
        if (setting != set.unitsItem()) {
            const ExitCode read = m_session.outcome(setting->ser_read(), QStringLiteral("R") + code);
            if (read != ExitCode::Ok)
                return read;
        }
        QString value = setting->fileValue();
        if (setting->isLength())
            value = NumberText::fileSingle(NumberText::toSingle(NumberText::leadingValue(setting->wireValueIn(shownIn))));
        lines << code + QLatin1Char('=') + value;
        QJsonObject entry{{QStringLiteral("code"), code}, {QStringLiteral("value"), value}};
        if (setting->isLength())
            entry.insert(QStringLiteral("unit"), unitName);
        values.append(entry);
    }
    // Nothing is printed before every value was read: a script gets all or nothing.
    if (m_request.json)
        JsonOutput::print(m_console, QJsonObject{{QStringLiteral("settings"), values}});
    else
        for (const QString &line : std::as_const(lines))
            m_console.out(line);
    return ExitCode::Ok;
}
