// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/CodesCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/JsonOutput.h"
#include "model/FactoryDefaults.h"
#include "model/NumberText.h"
#include "model/ParameterTable.h"
#include "model/SettingsSet.h"

namespace {

QString kindName(const ParameterTable::Parameter &p)
{
    switch (p.kind) {
    case ParameterTable::Kind::Integer:
        return QStringLiteral("integer");
    case ParameterTable::Kind::Float:
        return p.units ? QStringLiteral("length") : QStringLiteral("real");
    case ParameterTable::Kind::List:
        return QStringLiteral("list");
    case ParameterTable::Kind::Hex:
        return QStringLiteral("hex");
    }
    return QString();
}

QString limit(const ParameterTable::Parameter &p, double v)
{
    return p.kind == ParameterTable::Kind::Hex ? NumberText::hexText(qint32(quint32(quint64(v)))) : NumberText::wireDouble(v);
}

} // namespace

ExitCode CodesCommand::run()
{
    // The factory values as the form's reset puts them, lengths in inches.
    SettingsSet factory;
    factory.applyFactoryDefaults();
    QJsonArray all;
    for (const ParameterTable::Parameter &p : ParameterTable::parameters()) {
        const Setting *s = factory.byCode(p.code);
        const QString value = FactoryDefaults::byCode(p.code).isValid() ? s->wireValueIn(0) : QString();
        QJsonObject entry{{QStringLiteral("code"), p.code},     {QStringLiteral("tab"), p.tab},
                          {QStringLiteral("title"), p.distinctTitle()}, {QStringLiteral("kind"), kindName(p)},
                          {QStringLiteral("factory"), value.isNull() ? QJsonValue() : QJsonValue(value)}};
        QString range;
        if (p.kind == ParameterTable::Kind::List) {
            QJsonArray choices;
            QStringList tokens;
            for (const ParameterTable::Choice &c : p.choices) {
                choices.append(QJsonObject{{QStringLiteral("token"), c.token}, {QStringLiteral("text"), c.display}});
                tokens << c.token;
            }
            entry.insert(QStringLiteral("choices"), choices);
            range = tokens.join(QLatin1Char('|'));
        } else {
            entry.insert(QStringLiteral("min"), limit(p, p.min));
            entry.insert(QStringLiteral("max"), limit(p, p.max));
            range = limit(p, p.min) + QStringLiteral("..") + limit(p, p.max) + (p.units ? QStringLiteral(" Inches") : QString());
        }
        all.append(entry);
        if (!m_request.json)
            m_console.out(QStringList{p.code, p.tab, p.distinctTitle(), kindName(p),
                                      range, value.isNull() ? QStringLiteral("-") : value}
                              .join(QLatin1Char('\t')));
    }
    if (m_request.json)
        JsonOutput::print(m_console, all);
    return ExitCode::Ok;
}
