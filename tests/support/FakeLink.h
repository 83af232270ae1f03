// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/ParameterLink.h"

#include <QHash>
#include <QStringList>

// A device link that records what is sent and answers from a table. "WE" in the record
// stands for a write_enable(true) call, so tests see it ahead of the command it guards.
class FakeLink : public ParameterLink
{
public:
    QStringList sent;
    QHash<QString, QString> replies; // command -> payload; missing commands answer ""
    bool fail = false;               // every exchange times out
    QString received = QStringLiteral("stale reply of an earlier exchange");

    bool sendrcv_nodeid(const QString &command, bool IndicateError = true) override
    {
        sent.append(IndicateError ? command + QStringLiteral(" (with error box)") : command);
        received = fail ? QStringLiteral("TIMEOUT ERROR") : replies.value(command);
        return !fail;
    }
    QString rcvstring() const override { return received; }
    void write_enable(bool enable) override { sent.append(enable ? QStringLiteral("WE") : QStringLiteral("WP")); }
    void reset_wp() override { sent.append(QStringLiteral("reset_wp")); }
};
