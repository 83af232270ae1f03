// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/ExitCode.h"

class Console;
class DeviceSession;
struct CtlRequest;

// One of qtx2ctl's commands, run once for what the request asks.
class Command
{
public:
    Command(const CtlRequest &request, DeviceSession &session, Console &console)
        : m_request(request), m_session(session), m_console(console)
    {
    }
    virtual ~Command() = default;

    virtual ExitCode run() = 0;

protected:
    const CtlRequest &m_request;
    DeviceSession &m_session;
    Console &m_console;
};
