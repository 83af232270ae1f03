// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/WalkReport.h"

#include <QObject>
#include <QSet>

class Setting;
class SettingsSet;

// The device's value of each setting as last read from it, held apart from the form so
// that it can be shown beside the form's value and compared with it by the wire rule. A
// value is known only from a read that was done: an upload into the form (as long as the
// user did not edit the setting after its read) or a read of the device into a set of its
// own. A write of another value makes it unknown until it is read again, and everything
// is forgotten when the link closes: the next device may be another unit.
class DeviceValues : public QObject
{
    Q_OBJECT
public:
    explicit DeviceValues(QObject *parent = nullptr);

    // The device's value of the parameter with this setting's code, or nullptr when none
    // was read since the last write or disconnection.
    const Setting *valueOf(const Setting &setting) const;
    // The device's length unit as last read, or -1.
    int units() const;
    bool any() const { return !m_known.isEmpty(); }

public slots:
    // After a read walk: the settings done are known, the others not.
    void noteRead(const WalkReport &report);
    // After a write walk: a setting the walk wrote another value to (or may have) is unknown.
    void noteWritten(const WalkReport &report);
    void clear();

signals:
    void valuesChanged();

private:
    Setting *mine(const Setting *setting) const;

    SettingsSet *m_values;
    QSet<const Setting *> m_known;
};
