// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

class QTimer;
class SerialForm;
class UserPrompt;

// A copy of the device's settings kept before an action overwrites them: read as an upload
// reads, without touching the form, and saved as a settings file among the backups.
// A read that is incomplete is never saved as if it were a backup.
class DeviceBackup : public QObject
{
    Q_OBJECT
public:
    DeviceBackup(SerialForm *link, QTimer *busyTimer, UserPrompt *prompt, QObject *parent = nullptr);

    // reason ends the file name ("before download"); action names the action in the
    // question asked when no backup could be kept ("Download to the QTX2"). True when the
    // action may go on: the backup was saved, no device is connected, another walk holds
    // the busy flag (the action's own walk then does nothing either), or the user chose to
    // go on without a backup.
    bool make(const QString &reason, const QString &action);
    // The file the last backup went to.
    QString lastPath() const { return m_lastPath; }

signals:
    void progress(const QString &text); // the read's, in panel 2

private:
    bool goOnWithout(const QString &why, const QString &action);

    SerialForm *m_link;
    QTimer *m_timer;
    UserPrompt *m_prompt;
    QString m_linkState = QStringLiteral("Disconnected");
    QString m_lastPath;
};
