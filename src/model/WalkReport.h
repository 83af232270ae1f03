// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ExchangeResult.h"

#include <QList>

class Setting;

// What a walk over all settings did, setting by setting: the evidence a front end may
// claim from (a match, a success, a mark cleared) and nothing more.
struct WalkReport
{
    struct Entry
    {
        Setting *setting = nullptr;
        ExchangeResult result;
        // The setting's edit count when its exchange ended: a later edit is not covered.
        quint64 editsAtExchange = 0;
        // Done and not edited since: what the setting holds is what the device holds.
        bool stands() const;
    };

    bool ran = false;       // false: another walk held the busy flag and nothing was done
    bool unitsRead = true;  // the units setting's read (an upload) got a value
    QList<Entry> entries;   // in exchange order, the units setting first

    // Every setting's exchange was done.
    bool complete() const;
    int done() const;
    QList<Entry> failed() const;
    // The settings not done, each with why: "IA refused: ERR CMD, XM (no reply) and 3
    // more"; at most named of them by name.
    QString failedText(int named = 3) const;
    const Entry *entryFor(const Setting *setting) const;
};
