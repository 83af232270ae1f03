// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

class DeviceSession;
class SettingsSet;

// The codes a download leaves as the unit has them and a diff leaves out: per-unit data
// (the CANbus serial number) unless --all, and what --keep names.
namespace KeptCodes {

// Reads each kept code from the device and says on standard error which of them the
// expected values (a file's) differ from, so that nothing is left alone unsaid. A read
// that fails is said too; it does not stop the run.
void tell(DeviceSession &session, const SettingsSet &expected, const QStringList &codes, const QString &done);

} // namespace KeptCodes
