// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DiffCommand.h"

#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DiffReport.h"
#include "ctl/JsonOutput.h"
#include "ctl/KeptCodes.h"
#include "ctl/SettingsFileIo.h"
#include "model/FactoryDefaults.h"
#include "model/SettingsSet.h"
#include "operations/DeviceReading.h"
#include "operations/FileSettings.h"
#include "operations/SettingsComparison.h"

ExitCode DiffCommand::run()
{
    FileSettings expected;
    QStringList kept = m_request.keptCodes();
    if (m_request.factory) {
        expected.settings()->applyFactoryDefaults();
        // A code without a factory value (the unit's own serial number) has nothing to differ from.
        for (Setting *s : expected.settings()->item_list())
            if (!FactoryDefaults::byCode(s->get_serstring()).isValid() && !kept.contains(s->get_serstring()))
                kept << s->get_serstring();
    } else {
        const ExitCode loaded = SettingsFileIo::load(m_request.arguments.first(), expected, m_console);
        if (loaded != ExitCode::Ok)
            return loaded;
    }
    if (!m_session.connect())
        return ExitCode::NoDevice;
    if (m_request.factory)
        m_session.warn(QStringLiteral("left out: %1 (a unit's own, no factory value).").arg(kept.join(QStringLiteral(", "))));
    else
        KeptCodes::tell(m_session, *expected.settings(), kept, QStringLiteral("left out (--all compares it)"));
    DeviceReading device(m_session.parameters(), nullptr);
    const ExitCode read = m_session.readDevice(device, QStringLiteral("Uploading... "), QStringLiteral("gave"), false);
    if (read != ExitCode::Ok)
        return read;
    const SettingsComparison comparison = SettingsComparison::withDevice(*expected.settings(), device, kept);
    const QString side = m_request.factory ? QStringLiteral("factory") : QStringLiteral("file");
    if (!m_request.json)
        return DiffReport::print(comparison, side, m_console);
    QJsonObject document = DiffReport::json(comparison, side);
    document.insert(QStringLiteral("leftOut"), QJsonArray::fromStringList(kept));
    JsonOutput::print(m_console, document);
    return DiffReport::code(comparison);
}
