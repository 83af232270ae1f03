#pragma once

#include "catalogue/SetupForm.h"

#include <QObject>

class ItemTrack;
class QTimer;
class SerialForm;
class SettingsSet;
class UserPrompt;

// The commands that move all settings at once: upload, download, open and save a
// settings file, reset to factory defaults and reset units. The window's menus and
// toolbar call these; the window shows progress and the caption colour.
class TransferCommands : public QObject
{
    Q_OBJECT
public:
    TransferCommands(ItemTrack *track, SerialForm *link, SetupForm *form, QTimer *positionTimer,
                     UserPrompt *prompt, QObject *parent = nullptr);

public slots:
    void upload();
    void download();
    void open_file();
    void save_file();
    void factory_reset();
    void reset_units();

signals:
    void progress(const QString &text);      // panel 2 of the status bar
    void syncColour(SyncColour colour);      // the tab caption colour

private:
    void emitLinkColour();
    void emitEndColour(bool wasConnected);

    ItemTrack *m_track;
    SerialForm *m_link;
    SetupForm *m_form;
    SettingsSet *m_settings;
    QTimer *m_timer;
    UserPrompt *m_prompt;
};
