// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/AnsweredLink.h"

#include "link/SerialForm.h"

QString AnsweredLink::addressed(const QString &command) const
{
    return QLatin1Char('$') + QString::number(m_link->get_nodeid()) + command;
}

bool AnsweredLink::exchange(Exchange call, const QString &command, bool IndicateError)
{
    if (!answering() || m_interrupted)
        return false;
    if ((m_link->*call)(command, IndicateError))
        return true;
    m_unanswered = addressed(command);
    return false;
}

bool AnsweredLink::sendrcv_nodeid(const QString &command, bool IndicateError)
{
    return exchange(&ParameterLink::sendrcv_nodeid, command, IndicateError);
}

bool AnsweredLink::sendrcv_long_nodeid(const QString &command, bool IndicateError)
{
    return exchange(&ParameterLink::sendrcv_long_nodeid, command, IndicateError);
}

bool AnsweredLink::factory_command() const
{
    return m_link->factory_command();
}

QString AnsweredLink::rcvstring() const
{
    return m_link->rcvstring();
}

void AnsweredLink::write_enable(bool enable)
{
    if (!answering() || m_interrupted)
        return;
    m_link->write_enable(enable);
    if (m_link->write_protected() == enable)
        m_unanswered = addressed(enable ? QStringLiteral("WE") : QStringLiteral("WP"));
}

void AnsweredLink::reset_wp()
{
    m_link->reset_wp();
}
