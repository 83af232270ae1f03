// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SaveAsked.h"

#include "link/UserPrompt.h"
#include "model/SettingsFile.h"

#include <QDir>

bool SaveAsked::save(UserPrompt &prompt, const QStringList &lines) const
{
    const QString path = caption.isEmpty() ? prompt.saveFileName() : prompt.saveFileAs(caption, filter, suggestedName);
    if (path.isEmpty())
        return false;
    QString error;
    if (SettingsFile::write(path, lines, &error))
        return true;
    prompt.message(failure.arg(QDir::toNativeSeparators(path)), error);
    return false;
}
