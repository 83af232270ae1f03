// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QVariant>

// Named values under a per-user key, in the manner of the Windows registry. The one key
// the program uses, "Software\Orvane Works\QTX2Setlink" under "HKCU", lives in the
// QSettings store of organisation "Orvane Works", application "QTX2Setlink"; every other
// root or key answers with an error code. Results are 0 on success, else a non-zero code.
namespace ModRegistry {

constexpr long Success = 0;
constexpr long FileNotFound = 2;    // no such key or value
constexpr long AccessDenied = 5;    // a root or key the store does not serve
constexpr long InvalidData = 13;    // a stored value of the wrong type
constexpr long InvalidParameter = 87; // an unknown root or type letter

// Type letters, compared without regard to case: "D" a 32-bit integer (written as a
// 16-bit signed value widened to 32 bits), "S" a text.
// value is set to defaultValue first and keeps it on any failure.
long read_value(const QString &root, const QString &key, const QString &name, const QString &type,
                const QVariant &defaultValue, QVariant &value);
long write_value(const QString &root, const QString &key, const QString &name, const QString &type,
                 const QVariant &value);

// The key of this program's preferences.
QString programKey();

} // namespace ModRegistry
