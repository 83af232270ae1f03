// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What the settings, their walks and the device operations need of the device link: one
// addressed exchange, the payload of the last reply, and the write protection.
class ParameterLink
{
public:
    virtual ~ParameterLink() = default;

    // Sends "$" + node ID + command + CR and waits for the reply. True when a reply
    // arrived; then rcvstring() holds its payload.
    virtual bool sendrcv_nodeid(const QString &command, bool IndicateError = true) = 0;
    // The same with the long reply wait, for a command the device takes its time over
    // ("SFD"); a link without one waits as for any other.
    virtual bool sendrcv_long_nodeid(const QString &command, bool IndicateError = true)
    {
        return sendrcv_nodeid(command, IndicateError);
    }
    // The device answered the factory-command probe at connection time.
    virtual bool factory_command() const { return false; }
    virtual QString rcvstring() const = 0;
    virtual void write_enable(bool enable) = 0;
    // The device is taken as write-protected again, so the next write lifts it first.
    virtual void reset_wp() = 0;

    // A write walk (a download of all settings, a factory reset) reports a "WE" that gets
    // no reply once instead of before each of its writes; outside a walk every such "WE"
    // is reported. Walks may nest; the report is owed again when the outermost one ends.
    virtual void beginWriteWalk() {}
    virtual void endWriteWalk() {}

    // Holds a link in one write walk for the lifetime of the object; the link may be null.
    class WriteWalk
    {
    public:
        explicit WriteWalk(ParameterLink *link)
            : m_link(link)
        {
            if (m_link)
                m_link->beginWriteWalk();
        }
        ~WriteWalk()
        {
            if (m_link)
                m_link->endWriteWalk();
        }
        WriteWalk(const WriteWalk &) = delete;
        WriteWalk &operator=(const WriteWalk &) = delete;

    private:
        ParameterLink *m_link;
    };
};
