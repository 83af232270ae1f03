#pragma once

#include "link/ParameterLink.h"

#include <QHash>
#include <QStringList>

// A device link for item tests: records every command, answers reads from a table and
// can be made to fail like a timed-out or closed line.
class FakeLink : public ParameterLink
{
public:
    bool sendrcv_nodeid(const QString &command, bool = true) override
    {
        commands.append(command);
        if (failing)
            return false;
        reply = replies.value(command, QString());
        return true;
    }
    QString rcvstring() const override { return reply; }
    void write_enable(bool enable) override { commands.append(enable ? "WE" : "WP"); }

    QStringList commands;
    QHash<QString, QString> replies; // command -> payload
    QString reply;
    bool failing = false;
};
