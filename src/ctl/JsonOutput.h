// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QJsonArray>
#include <QJsonObject>

class Console;
class Setting;

// qtx2ctl's --json: one document on standard output, and the pieces several commands share.
namespace JsonOutput {

void print(Console &console, const QJsonObject &document);
void print(Console &console, const QJsonArray &document);
// A value text as the comparisons show it ("10 MM"): the number and, for a length, its unit.
QJsonObject value(const Setting &setting, const QString &text, const QString &key);

} // namespace JsonOutput
