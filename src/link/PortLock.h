// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Who holds a serial port. Programs that share the lock-file convention (Qt's own serial
// port among them) leave "LCK..<device>" in a lock folder with their process ID and name.
namespace PortLock {

// " (qtx2ctl, process 4242)" for a held port whose holder is known, else empty.
QString holder(const QString &location);

} // namespace PortLock
