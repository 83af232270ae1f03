#pragma once

#include "link/ParameterLink.h"

#include <QStringList>

// A device link with nothing behind it: every exchange succeeds with an empty reply, and
// the commands are kept so that a target can look at what would have gone on the wire.
class QuietLink : public ParameterLink
{
public:
    bool sendrcv_nodeid(const QString &command, bool = true) override
    {
        sent.append(command);
        return true;
    }
    QString rcvstring() const override { return QString(); }
    void write_enable(bool) override {}
    void reset_wp() override {}

    QStringList sent;
};
