// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/JsonOutput.h"

#include "ctl/Console.h"
#include "model/Setting.h"

#include <QJsonDocument>

namespace JsonOutput {

void print(Console &console, const QJsonObject &document)
{
    console.outBytes(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

void print(Console &console, const QJsonArray &document)
{
    console.outBytes(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

QJsonObject value(const Setting &setting, const QString &text, const QString &key)
{
    QJsonObject out;
    if (setting.isLength() && text.contains(QLatin1Char(' '))) {
        out.insert(key, text.section(QLatin1Char(' '), 0, 0));
        out.insert(key + QStringLiteral("Unit"), text.section(QLatin1Char(' '), 1));
    } else {
        out.insert(key, text);
    }
    return out;
}

} // namespace JsonOutput
