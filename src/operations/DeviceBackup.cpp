// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "operations/DeviceBackup.h"

#include "model/BackupStore.h"
#include "operations/DeviceReading.h"

DeviceBackup::DeviceBackup(ParameterLink *link, BusyGuard *busyGuard, QObject *parent)
    : QObject(parent), m_link(link), m_guard(busyGuard)
{
}

DeviceBackup::Result DeviceBackup::make(const BackupStore &store, const QString &origin, const QString &reason)
{
    Result result;
    DeviceReading device(m_link, m_guard);
    connect(&device, &DeviceReading::progress, this, &DeviceBackup::progress);
    if (!device.read(QStringLiteral("Backing up... ")))
        return result;
    result.read = device.readCount();
    result.total = device.size();
    if (!device.complete()) {
        result.outcome = Outcome::Incomplete;
        return result;
    }
    QString error;
    if (!store.write(device.stateLines(), origin, reason, &result.path, &error)) {
        result.outcome = Outcome::NotWritten;
        result.why = error;
        return result;
    }
    result.outcome = Outcome::Saved;
    return result;
}
