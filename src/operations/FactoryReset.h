// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/WalkReport.h"

#include <QObject>

class ParameterLink;
class BusyGuard;
class SettingsSet;

// The factory reset, by either path. A device that answered the factory-command probe
// resets itself: write protection lifted afresh, "SFD" with the long wait, protection set
// again; what it then holds is for the caller to read back. Any other device gets the
// factory settings written: put into the given set (what they have no value for, such as
// the CANbus serial number, stays as the set holds it) and downloaded.
class FactoryReset : public QObject
{
    Q_OBJECT
public:
    struct Result
    {
        bool ran = false;          // false: another walk held the busy flag; nothing was done
        bool byDevice = false;     // the device's own reset, not the written defaults
        ExchangeResult reset;      // the device's answer to "SFD"
        WalkReport download;       // the written defaults
    };

    FactoryReset(ParameterLink *link, BusyGuard *busyGuard, QObject *parent = nullptr);

    // defaults: the set the form path puts the factory settings into and downloads.
    Result run(SettingsSet &defaults);

signals:
    void progress(const QString &text);

private:
    ExchangeResult deviceReset();

    ParameterLink *m_link;
    BusyGuard *m_guard;
};
