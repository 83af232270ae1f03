// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "transfer/DeviceBackup.h"

#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/BackupStore.h"
#include "model/DeviceSnapshot.h"

#include <QDir>

DeviceBackup::DeviceBackup(SerialForm *link, QTimer *busyTimer, UserPrompt *prompt, QObject *parent)
    : QObject(parent), m_link(link), m_timer(busyTimer), m_prompt(prompt)
{
    connect(m_link, &SerialForm::statusText, this, [this](const QString &text) { m_linkState = text; });
}

bool DeviceBackup::make(const QString &reason, const QString &action)
{
    if (!m_link->is_connected())
        return true;
    DeviceSnapshot snapshot(m_link, m_timer);
    connect(&snapshot, &DeviceSnapshot::progress, this, &DeviceBackup::progress);
    if (!snapshot.read(QStringLiteral("Backing up... ")))
        return true;
    if (!snapshot.complete()) {
        const QString state = m_link->is_connected() ? QString() : QStringLiteral(" (%1)").arg(m_linkState);
        return goOnWithout(tr("The backup of the QTX2's settings is incomplete%1: %2 of %3 settings were read, "
                              "so it was not saved.")
                               .arg(state)
                               .arg(snapshot.size() - snapshot.unread().size())
                               .arg(snapshot.size()),
                           action);
    }
    const BackupStore store;
    const QString origin = QStringLiteral("COM%1 node %2").arg(m_link->cur_port()).arg(m_link->get_nodeid());
    QString path, error;
    if (!store.write(snapshot.file_lines(), origin, reason, &path, &error))
        return goOnWithout(tr("The backup of the QTX2's settings could not be saved in %1: %2")
                               .arg(QDir::toNativeSeparators(store.folder()), error),
                           action);
    m_lastPath = path;
    return true;
}

bool DeviceBackup::goOnWithout(const QString &why, const QString &action)
{
    return m_prompt->question(why + QStringLiteral("\n\n") + tr("%1 without a backup?").arg(action),
                              tr("Go On Without Backup"), tr("Stop"));
}
