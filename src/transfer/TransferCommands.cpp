#include "transfer/TransferCommands.h"

#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/ItemTrack.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"

#include <QDir>
#include <QTimer>

TransferCommands::TransferCommands(ItemTrack *track, SerialForm *link, SetupForm *form, QTimer *positionTimer,
                                   UserPrompt *prompt, QObject *parent)
    : QObject(parent), m_track(track), m_link(link), m_form(form), m_settings(track->settings()),
      m_timer(positionTimer), m_prompt(prompt)
{
    m_track->setBusyTimer(positionTimer);
    connect(m_track, &ItemTrack::progress, this, &TransferCommands::progress);
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
    m_settings->refresh_current_units();
    m_track->upload_all();
    emitLinkColour();
    m_form->update_disabled();
}

void TransferCommands::download()
{
    const bool wasConnected = m_link->is_connected();
    m_settings->refresh_current_units();
    m_track->download_all();
    emitEndColour(wasConnected);
}

void TransferCommands::emitEndColour(bool wasConnected)
{
    // Black says the form matches the device; a link lost on the way leaves the window
    // disconnected, which is grey, and the device with only part of the values.
    emit syncColour(wasConnected && !m_link->is_connected() ? SyncColour::NoDevice : SyncColour::InStep);
}

void TransferCommands::factory_reset()
{
    const ParameterLink::WriteWalk walk(m_link);
    const bool wasConnected = m_link->is_connected();
    if (m_link->factory_command()) {
        // The device resets itself; the form is then read back from it.
        if (!m_timer->isActive())
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
        m_settings->apply_factory_defaults();
    }
    m_settings->refresh_current_units();
    if (!m_link->factory_command())
        m_track->download_all();
    emitEndColour(wasConnected);
}

void TransferCommands::reset_units()
{
    m_track->reset_units_all();
}

void TransferCommands::open_file()
{
    const QString path = m_prompt->openFileName();
    if (path.isEmpty())
        return;
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
}

void TransferCommands::save_file()
{
    const QString path = m_prompt->saveFileName();
    if (path.isEmpty())
        return;
    const QStringList lines = m_track->file_lines();
    QString error;
    if (!SettingsFile::write(path, lines, &error))
        m_prompt->message(QStringLiteral("Could not save the settings file %1.").arg(QDir::toNativeSeparators(path)),
                          error);
}
