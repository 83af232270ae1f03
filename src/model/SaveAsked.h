// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

class UserPrompt;

// Saving lines where the user says: the save dialog (with a caption, a filter and a
// suggested name, or the plain one when the caption is empty), the lines written whole or
// not at all, and a failure told with why.
struct SaveAsked
{
    QString caption;
    QString filter;
    QString suggestedName;
    // The message when the file could not be written; %1 is the path.
    QString failure;

    // False when nothing was chosen or nothing written.
    bool save(UserPrompt &prompt, const QStringList &lines) const;
};
