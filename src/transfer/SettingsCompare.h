// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/WalkReport.h"
#include "transfer/CompareDialog.h"

#include <QObject>
#include <QPointer>

#include <memory>

class DeviceReading;
class BusyGuard;
class SerialForm;
class SettingsComparison;
class SettingsSet;
class SetupForm;
class UserPrompt;

// The form's values against the device's (read back after a download, or on request) and
// against a settings file, as the device operations compare them. What differs, or could
// not be compared, is listed in a CompareDialog; the form changes only when the user
// takes ticked values from a comparison.
class SettingsCompare : public QObject
{
    Q_OBJECT
public:
    SettingsCompare(SetupForm *form, SerialForm *link, BusyGuard *busyGuard, UserPrompt *prompt, QWidget *window,
                    QObject *parent = nullptr);

    // The dialog of the last check or comparison while it is open.
    CompareDialog *dialog() const { return m_dialog; }

public slots:
    // After a download: reads every setting back. All equal, panel 2 says so; otherwise
    // the differences are listed, with no values to take.
    void verifyDownload();
    void compareDevice();
    void compareFile();

signals:
    void progress(const QString &text); // panel 2 of the status bar
    // The device was read into a set of its own, with this walk.
    void deviceRead(const WalkReport &report);

private:
    // The device read into a set of its own, or nullptr when the read did not run
    // (another command holds the link).
    std::unique_ptr<DeviceReading> readDevice(const QString &progressPrefix);
    QList<CompareDialog::Row> rowsFor(const SettingsComparison &comparison) const;
    QString summary(const QString &name, const QString &done, const DeviceReading &device,
                    const SettingsComparison &comparison) const;
    void present(const QString &title, const QString &heading, const QString &otherColumn,
                 const QList<CompareDialog::Row> &rows, bool offerTaking, QObject *values);

    SetupForm *m_form;
    SettingsSet *m_settings;
    SerialForm *m_link;
    BusyGuard *m_guard;
    UserPrompt *m_prompt;
    QWidget *m_window;
    QString m_linkState = QStringLiteral("Disconnected");
    QPointer<CompareDialog> m_dialog;
};
