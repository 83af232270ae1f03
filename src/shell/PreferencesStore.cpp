// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/PreferencesStore.h"

#include "shell/ModRegistry.h"

namespace {

const QString Root = QStringLiteral("HKCU");

int readInt(const QString &name, int fallback, bool *ok)
{
    QVariant value;
    const long rc = ModRegistry::read_value(Root, ModRegistry::programKey(), name, QStringLiteral("D"),
                                            fallback, value);
    *ok = rc == ModRegistry::Success;
    return value.toInt();
}

bool readFlag(const QString &name, int fallback = 0)
{
    bool ok = false;
    return readInt(name, fallback, &ok) == 1;
}

void writeInt(const QString &name, int value)
{
    // A value that cannot be stored is silently not stored.
    ModRegistry::write_value(Root, ModRegistry::programKey(), name, QStringLiteral("D"), value);
}

} // namespace

PreferencesStore::Values PreferencesStore::load() const
{
    Values v;
    v.readMagnets = readFlag(QStringLiteral("ReadMagnets"));
    v.autoUpload = readFlag(QStringLiteral("AutoUpload"));
    v.expanded = readFlag(QStringLiteral("Expanded"));
    bool ok = false;
    const int port = readInt(QStringLiteral("Port"), 1, &ok);
    if (ok)
        v.port = port;
    v.verifyAfterDownload = readFlag(QStringLiteral("VerifyAfterDownload"), 1);
    v.backupBeforeDownload = readFlag(QStringLiteral("BackupBeforeDownload"), 1);
    return v;
}

void PreferencesStore::save(const Values &values) const
{
    writeInt(QStringLiteral("ReadMagnets"), values.readMagnets ? 1 : 0);
    writeInt(QStringLiteral("AutoUpload"), values.autoUpload ? 1 : 0);
    writeInt(QStringLiteral("Expanded"), values.expanded ? 1 : 0);
    if (values.port)
        writeInt(QStringLiteral("Port"), *values.port);
    writeInt(QStringLiteral("VerifyAfterDownload"), values.verifyAfterDownload ? 1 : 0);
    writeInt(QStringLiteral("BackupBeforeDownload"), values.backupBeforeDownload ? 1 : 0);
}
