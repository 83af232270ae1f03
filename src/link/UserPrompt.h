// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// The one place where the program asks or tells the user something in a modal way.
// The window uses a QMessageBox/QFileDialog implementation; tests install one that
// answers without a person and records what was shown.
class UserPrompt
{
public:
    virtual ~UserPrompt() = default;

    // A message box with one OK button, no icon and the title "QTX2 Setlink".
    // details, when not empty, goes under the message (for example why ports refused).
    virtual void message(const QString &text, const QString &details = QString()) = 0;

    // A question with two answers, the second of which changes nothing: it is the default
    // and what Escape gives, and the answer of a prompt with nobody to ask. True when the
    // first was chosen.
    virtual bool question(const QString &text, const QString &first, const QString &second)
    {
        Q_UNUSED(text)
        Q_UNUSED(first)
        Q_UNUSED(second)
        return false;
    }

    // One of a list of entries; -1 when none was chosen.
    virtual int choose(const QString &text, const QStringList &entries, const QString &accept)
    {
        Q_UNUSED(text)
        Q_UNUSED(entries)
        Q_UNUSED(accept)
        return -1;
    }

    // File dialogs: an empty result means nothing was chosen.
    virtual QString openFileName() = 0;
    virtual QString saveFileName() = 0;
    // A save dialog with a caption, a file filter ("CSV files (*.csv)") and a suggested
    // name; a prompt without one answers as saveFileName() does.
    virtual QString saveFileAs(const QString &caption, const QString &filter, const QString &suggestedName)
    {
        Q_UNUSED(caption)
        Q_UNUSED(filter)
        Q_UNUSED(suggestedName)
        return saveFileName();
    }
};
