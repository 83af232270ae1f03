// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/EditTracker.h"

#include "model/Setting.h"
#include "model/SettingsSet.h"

EditTracker::EditTracker(SettingsSet *settings, QObject *parent) : QObject(parent)
{
    for (Setting *s : settings->item_list()) {
        connect(s, &Setting::edited, this, [this, s] {
            if (m_edited.contains(s))
                return;
            m_edited.insert(s);
            emit marksChanged();
        });
    }
}

void EditTracker::settle(const WalkReport &report)
{
    bool removed = false;
    for (const WalkReport::Entry &e : report.entries)
        if (e.stands())
            removed = m_edited.remove(e.setting) || removed;
    if (removed)
        emit marksChanged();
}

void EditTracker::settle(const QList<Setting *> &taken)
{
    bool removed = false;
    for (const Setting *s : taken)
        removed = m_edited.remove(s) || removed;
    if (removed)
        emit marksChanged();
}

void EditTracker::clear()
{
    if (m_edited.isEmpty())
        return;
    m_edited.clear();
    emit marksChanged();
}
