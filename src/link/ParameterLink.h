#pragma once

#include <QString>

// What the settings and their walks need of the device link: one addressed exchange,
// the payload of the last reply, and the write protection.
class ParameterLink
{
public:
    virtual ~ParameterLink() = default;

    // Sends "$" + node ID + command + CR and waits for the reply. True when a reply
    // arrived; then rcvstring() holds its payload.
    virtual bool sendrcv_nodeid(const QString &command, bool IndicateError = true) = 0;
    virtual QString rcvstring() const = 0;
    virtual void write_enable(bool enable) = 0;
    // The device is taken as write-protected again, so the next write lifts it first.
    virtual void reset_wp() = 0;
};
