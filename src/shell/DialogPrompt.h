// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/UserPrompt.h"

#include <QPointer>
#include <QWidget>

// Asks and tells the user with modal dialogs over the given window: a message box with
// the title "QTX2 Setlink", no icon and one OK button, and the system's file dialogs.
class DialogPrompt : public UserPrompt
{
public:
    explicit DialogPrompt(QWidget *parent = nullptr);

    // The window the dialogs open over; set once the main window exists.
    void setParentWidget(QWidget *parent);

    void message(const QString &text, const QString &details = QString()) override;
    bool question(const QString &text, const QString &first, const QString &second) override;
    int choose(const QString &text, const QStringList &entries, const QString &accept) override;
    QString openFileName() override;
    QString saveFileName() override;
    QString saveFileAs(const QString &caption, const QString &filter, const QString &suggestedName) override;

private:
    QPointer<QWidget> m_parent;
};
