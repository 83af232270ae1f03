// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "transfer/TransferCommands.h"

#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/BackupStore.h"
#include "model/EditTracker.h"
#include "model/ItemTrack.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"
#include "transfer/DeviceBackup.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

TransferCommands::TransferCommands(ItemTrack *track, SerialForm *link, SetupForm *form, QTimer *positionTimer,
                                   UserPrompt *prompt, QObject *parent)
    : QObject(parent), m_track(track), m_link(link), m_form(form), m_settings(track->settings()),
      m_timer(positionTimer), m_prompt(prompt), m_tracker(new EditTracker(m_settings, this)),
      m_backup(new DeviceBackup(link, positionTimer, prompt, this))
{
    m_track->setBusyTimer(positionTimer);
    connect(m_track, &ItemTrack::progress, this, &TransferCommands::progress);
    connect(m_backup, &DeviceBackup::progress, this, &TransferCommands::progress);
    // During an upload the captions follow the link after every item, so a dropped
    // connection shows at once.
    connect(m_track, &ItemTrack::itemRead, this, &TransferCommands::emitLinkColour);
}

void TransferCommands::emitLinkColour()
{
    emit syncColour(m_link->is_connected() ? SyncColour::InStep : SyncColour::NoDevice);
}

void TransferCommands::upload()
{
    const bool wasConnected = m_link->is_connected();
    m_settings->refresh_current_units();
    const bool ran = m_track->upload_all();
    emitLinkColour();
    m_form->update_disabled();
    clearMarks(ran, wasConnected);
}

void TransferCommands::download()
{
    if (m_backupBeforeDownload && !m_backup->make(QStringLiteral("before download"), tr("Download to the QTX2")))
        return;
    const bool wasConnected = m_link->is_connected();
    m_settings->refresh_current_units();
    const bool ran = m_track->download_all();
    emitEndColour(wasConnected);
    clearMarks(ran, wasConnected);
    if (ran)
        emit downloaded();
}

void TransferCommands::clearMarks(bool ran, bool wasConnected)
{
    if (ran && !(wasConnected && !m_link->is_connected()))
        m_tracker->clear();
}

void TransferCommands::emitEndColour(bool wasConnected)
{
    // Black says the form matches the device; a link lost on the way leaves the window
    // disconnected, which is grey, and the device with only part of the values.
    emit syncColour(wasConnected && !m_link->is_connected() ? SyncColour::NoDevice : SyncColour::InStep);
}

void TransferCommands::factory_reset()
{
    emit progress(QString());
    const QString reason = QStringLiteral("before factory reset");
    const QString action = tr("Reset to factory defaults");
    const ParameterLink::WriteWalk walk(m_link);
    const bool wasConnected = m_link->is_connected();
    if (m_link->factory_command()) {
        // The device resets itself; the form is then read back from it.
        if (!m_timer->isActive() || !m_backup->make(reason, action))
            return;
        m_timer->stop();
        m_link->reset_wp();
        m_link->write_enable(true);
        emit progress(QStringLiteral("Factory Reset"));
        m_link->sendrcv_long_nodeid(QStringLiteral("SFD"), false);
        m_link->write_enable(false);
        m_timer->start();
        upload();
    } else {
        if (!m_backup->make(reason, action))
            return;
        m_settings->apply_factory_defaults();
    }
    m_settings->refresh_current_units();
    if (!m_link->factory_command())
        clearMarks(m_track->download_all(), wasConnected);
    emitEndColour(wasConnected);
}

void TransferCommands::reset_units()
{
    emit progress(QString());
    m_track->reset_units_all();
}

void TransferCommands::open_file()
{
    emit progress(QString());
    const QString path = m_prompt->openFileName();
    if (!path.isEmpty())
        open_path(path);
}

void TransferCommands::restore_backup()
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
        open_path(paths.at(chosen));
}

void TransferCommands::open_path(const QString &path)
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
    m_track->file_read_lines(lines);
    m_form->update_disabled();
    m_tracker->clear();
}

void TransferCommands::save_file()
{
    emit progress(QString());
    const QString path = m_prompt->saveFileName();
    if (path.isEmpty())
        return;
    const QStringList lines = m_track->file_lines();
    QString error;
    if (!SettingsFile::write(path, lines, &error))
        m_prompt->message(QStringLiteral("Could not save the settings file %1.").arg(QDir::toNativeSeparators(path)),
                          error);
}
