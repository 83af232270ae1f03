// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/ParameterLink.h"

class SerialForm;

// The link as the settings use it, up to the first message the device leaves without a
// reply (a write protection not lifted counts too), or until the run is interrupted.
// After that nothing more is sent: a walk on a device that stopped answering ends at once
// instead of waiting out every parameter, and the command reports the message that went
// unanswered, or how far it got.
class AnsweredLink : public ParameterLink
{
public:
    explicit AnsweredLink(SerialForm *link) : m_link(link) {}

    bool sendrcv_nodeid(const QString &command, bool IndicateError = true) override;
    bool sendrcv_long_nodeid(const QString &command, bool IndicateError = true) override;
    bool factory_command() const override;
    QString rcvstring() const override;
    void write_enable(bool enable) override;
    void reset_wp() override;

    bool answering() const { return m_unanswered.isEmpty(); }
    // Nothing more is sent after the exchange in progress.
    void interrupt() { m_interrupted = true; }
    bool interrupted() const { return m_interrupted; }
    // The message as sent ("$0RXM"), empty while every one was answered.
    QString unanswered() const { return m_unanswered; }

private:
    using Exchange = bool (ParameterLink::*)(const QString &, bool);

    // One exchange by call, unless the link already stopped answering or was interrupted.
    bool exchange(Exchange call, const QString &command, bool IndicateError);
    QString addressed(const QString &command) const;

    SerialForm *m_link;
    QString m_unanswered;
    bool m_interrupted = false;
};
