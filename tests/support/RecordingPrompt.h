#pragma once

#include "link/UserPrompt.h"

#include <QStringList>

// A UserPrompt that answers without a person: records every message and hands out preset
// file names.
class RecordingPrompt : public UserPrompt
{
public:
    void message(const QString &text, const QString &detailText = QString()) override
    {
        messages << text;
        details << detailText;
    }
    QString openFileName() override { return openName; }
    QString saveFileName() override { return saveName; }

    QStringList messages;
    QStringList details;
    QString openName;
    QString saveName;
};
