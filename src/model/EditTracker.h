// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/WalkReport.h"

#include <QObject>
#include <QSet>

class Setting;
class SettingsSet;

// Which settings the user has edited since the form last matched a known state (an
// upload, a download, a settings file loaded). Only the user's own changes count: values
// that arrive from the device, a file or the factory settings leave the marks alone.
class EditTracker : public QObject
{
    Q_OBJECT
public:
    explicit EditTracker(SettingsSet *settings, QObject *parent = nullptr);

    bool isEdited(const Setting *setting) const { return m_edited.contains(setting); }
    bool any() const { return !m_edited.isEmpty(); }
    void clear();
    // After a walk: a mark goes only where the walk's exchange of that setting was done
    // and no edit came after it, so an edit the device never got keeps its mark.
    void settle(const WalkReport &report);
    // After a file was read: the settings that took its values.
    void settle(const QList<Setting *> &taken);

signals:
    // A setting gained its mark, or marks were cleared.
    void marksChanged();

private:
    QSet<const Setting *> m_edited;
};
