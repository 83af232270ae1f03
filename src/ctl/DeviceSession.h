// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/AnsweredLink.h"
#include "ctl/ConsolePrompt.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"

class Console;
struct CtlRequest;

// The one device a run talks to: its port (a COMn or a device path), the link on it and
// the settings' view of that link; failures in words that say which port and what was
// tried.
class DeviceSession
{
public:
    DeviceSession(const CtlRequest &request, Console &console);

    // Opens the port and identifies the device as the window's Connect does; on failure
    // the console has been told why.
    bool connect();

    SerialForm &link() { return m_link; }
    ParameterLink *parameters() { return &m_answered; }
    // Every message the settings sent was answered; otherwise the console is told which
    // was not.
    bool answering();

    // "COM3 (/dev/ttyUSB0)", or the device path.
    QString where() const;
    // For the ports command: whether port n opens; *location is what stands behind it and
    // *why, when it does not open, the reason.
    bool tryPort(int n, QString *location, QString *why);

private:
    QString whereAt(int n) const;

    const CtlRequest &m_request;
    Console &m_console;
    ConsolePrompt m_prompt;
    QtSerialPortIo m_io;
    SerialForm m_link;
    AnsweredLink m_answered;
};
