// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "transfer/TransferCommands.h"

#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/BackupStore.h"
#include "model/EditTracker.h"
#include "model/ItemTrack.h"
#include "model/SaveAsked.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"
#include "operations/DeviceBackup.h"
#include "operations/FactoryReset.h"

#include <QDir>
#include <QFileInfo>
#include "link/BusyGuard.h"
#include "link/PortDirectory.h"

TransferCommands::TransferCommands(ItemTrack *track, SerialForm *link, SetupForm *form, BusyGuard *busyGuard,
                                   UserPrompt *prompt, QObject *parent)
    : QObject(parent), m_track(track), m_link(link), m_form(form), m_settings(track->settings()),
      m_guard(busyGuard), m_prompt(prompt), m_tracker(new EditTracker(m_settings, this)),
      m_backup(new DeviceBackup(link, busyGuard, this))
{
    m_track->setBusyGuard(busyGuard);
    connect(m_track, &ItemTrack::progress, this, &TransferCommands::progress);
    connect(m_backup, &DeviceBackup::progress, this, &TransferCommands::progress);
    // During an upload the captions follow the link after every item, so a dropped
    // connection shows at once.
    connect(m_track, &ItemTrack::itemRead, this, &TransferCommands::emitLinkColour);
    connect(m_link, &SerialForm::statusText, this, [this](const QString &text) { m_linkState = text; });
}

void TransferCommands::emitLinkColour()
{
    emit syncColour(m_link->is_connected() ? SyncColour::InStep : SyncColour::NoDevice);
}

void TransferCommands::settle(const WalkReport &report)
{
    m_tracker->settle(report);
    if (!m_link->is_connected())
        emit syncColour(SyncColour::NoDevice);
    else
        emit syncColour(report.complete() && !m_tracker->any() ? SyncColour::InStep : SyncColour::Changed);
}

void TransferCommands::reportIncomplete(const QString &walk, const QString &verb, const WalkReport &report)
{
    if (!report.ran || report.complete())
        return;
    const QString state = m_link->is_connected() ? QString() : QStringLiteral(" (%1)").arg(m_linkState);
    emit progress(tr("%1 incomplete%2: %3 of %4 settings %5; not %5: %6")
                      .arg(walk, state)
                      .arg(report.done())
                      .arg(report.entries.size())
                      .arg(verb, report.failedText()));
}

void TransferCommands::upload()
{
    m_settings->refreshCurrentUnits();
    const WalkReport report = m_track->upload_all();
    m_form->update_disabled();
    if (report.ran) {
        settle(report);
        emit deviceRead(report);
    } else {
        emitLinkColour();
    }
    reportIncomplete(tr("Upload"), tr("read"), report);
}

void TransferCommands::download()
{
    if (m_backupBeforeDownload && !backUp(QStringLiteral("before download"), tr("Download to the QTX2")))
        return;
    m_settings->refreshCurrentUnits();
    const WalkReport report = m_track->download_all();
    if (!report.ran)
        return;
    emit deviceWritten(report);
    settle(report);
    reportIncomplete(tr("Download"), tr("written"), report);
    if (m_link->is_connected())
        emit downloaded();
}

bool TransferCommands::backUp(const QString &reason, const QString &action)
{
    if (!m_link->is_connected())
        return true;
    const QString origin = PortDirectory::portName(m_link->cur_port()) + QStringLiteral(" node ") + QString::number(m_link->get_nodeid());
    const BackupStore store;
    const DeviceBackup::Result result = m_backup->make(store, origin, reason);
    switch (result.outcome) {
    case DeviceBackup::Outcome::Saved:
    case DeviceBackup::Outcome::Busy:
        return true;
    case DeviceBackup::Outcome::Incomplete: {
        const QString state = m_link->is_connected() ? QString() : QStringLiteral(" (%1)").arg(m_linkState);
        return goOnWithout(tr("The backup of the QTX2's settings is incomplete%1: %2 of %3 settings were read, "
                              "so it was not saved.")
                               .arg(state)
                               .arg(result.read)
                               .arg(result.total),
                           action);
    }
    case DeviceBackup::Outcome::NotWritten:
        return goOnWithout(tr("The backup of the QTX2's settings could not be saved in %1: %2")
                               .arg(QDir::toNativeSeparators(store.folder()), result.why),
                           action);
    }
    return false;
}

bool TransferCommands::goOnWithout(const QString &why, const QString &action)
{
    return m_prompt->question(why + QStringLiteral("\n\n") + tr("%1 without a backup?").arg(action),
                              tr("Go On Without Backup"), tr("Stop"));
}

void TransferCommands::factoryReset()
{
    emit progress(QString());
    // The device's own reset needs the link free; a form reset always puts the defaults in.
    if (m_link->factory_command() && !m_guard->isFree())
        return;
    if (!backUp(QStringLiteral("before factory reset"), tr("Reset to factory defaults")))
        return;
    const bool wasConnected = m_link->is_connected();
    FactoryReset reset(m_link, m_guard);
    connect(&reset, &FactoryReset::progress, this, &TransferCommands::progress);
    const FactoryReset::Result result = reset.run(*m_settings);
    if (!result.byDevice) {
        // The defaults are in the form and, on a connected device without the factory
        // command, written to it; without a device there was nothing to write to.
        emit deviceWritten(result.download);
        settle(result.download);
        if (wasConnected)
            reportIncomplete(tr("Factory reset"), tr("written"), result.download);
        return;
    }
    // What the device now holds is read back into the form.
    emit deviceReset();
    upload();
    if (!result.reset.ok())
        emit progress(tr("Factory reset not confirmed: $%1SFD %2")
                          .arg(m_link->get_nodeid())
                          .arg(result.reset.describe()));
}

void TransferCommands::reset_units()
{
    emit progress(QString());
    m_track->resetUnitsAll();
}

void TransferCommands::openFile()
{
    emit progress(QString());
    const QString path = m_prompt->openFileName();
    if (!path.isEmpty())
        openPath(path);
}

void TransferCommands::restoreBackup()
{
    emit progress(QString());
    const BackupStore store;
    const QStringList paths = store.backups();
    if (paths.isEmpty()) {
        m_prompt->message(tr("There are no backups yet. One is made before every factory reset and, unless "
                             "switched off, before every download."),
                          QDir::toNativeSeparators(store.folder()));
        return;
    }
    QStringList names;
    for (const QString &path : paths)
        names.append(QFileInfo(path).completeBaseName());
    const int chosen = m_prompt->choose(tr("Open which backup? The newest is first."), names, tr("&Open"));
    if (chosen >= 0 && chosen < paths.size())
        openPath(paths.at(chosen));
}

void TransferCommands::openPath(const QString &path)
{
    QStringList lines;
    QString error;
    switch (SettingsFile::read(path, &lines, &error)) {
    case SettingsFile::ReadResult::NotFound:
        return;
    case SettingsFile::ReadResult::Unreadable:
    case SettingsFile::ReadResult::TooLarge:
        m_prompt->message(QStringLiteral("Could not open the settings file %1.").arg(QDir::toNativeSeparators(path)),
                          error);
        return;
    case SettingsFile::ReadResult::Ok:
        break;
    }
    const ItemTrack::FileReading reading = m_track->fileReadLines(lines);
    m_form->update_disabled();
    m_tracker->settle(reading.taken);
}

void TransferCommands::saveFile()
{
    emit progress(QString());
    // The plain save dialog: no caption, filter or name of its own.
    SaveAsked{QString(), QString(), QString(), QStringLiteral("Could not save the settings file %1.")}
        .save(*m_prompt, m_track->fileLines());
}
