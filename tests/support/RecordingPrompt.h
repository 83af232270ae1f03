// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/UserPrompt.h"

#include <QStringList>

// A UserPrompt that answers without a person: records every message and question, and
// hands out preset answers, choices and file names.
class RecordingPrompt : public UserPrompt
{
public:
    void message(const QString &text, const QString &detailText = QString()) override
    {
        messages << text;
        details << detailText;
    }
    bool question(const QString &text, const QString &, const QString &) override
    {
        questions << text;
        return answer;
    }
    int choose(const QString &, const QStringList &, const QString &) override { return chosen; }
    QString openFileName() override { return openName; }
    QString saveFileName() override { return saveName; }

    QStringList messages;
    QStringList details;
    QStringList questions;
    bool answer = false; // the answer that changes nothing
    int chosen = -1;
    QString openName;
    QString saveName;
};
