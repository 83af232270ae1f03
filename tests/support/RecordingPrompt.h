#pragma once

#include "link/UserPrompt.h"

#include <QStringList>

// A UserPrompt that answers without a person: records every message, question and list
// offered, and hands out preset answers and file names.
class RecordingPrompt : public UserPrompt
{
public:
    void message(const QString &text, const QString &detailText = QString()) override
    {
        messages << text;
        details << detailText;
    }
    bool question(const QString &text, const QString &, const QString &) override
    {
        questions << text;
        return answer;
    }
    int choose(const QString &, const QStringList &entries, const QString &) override
    {
        choices << entries;
        return chosen;
    }
    QString openFileName() override { return openName; }
    QString saveFileName() override { return saveName; }

    QStringList messages;
    QStringList details;
    QStringList questions;
    QList<QStringList> choices;
    bool answer = false; // the answer that changes nothing
    int chosen = -1;
    QString openName;
    QString saveName;
};
