// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/AnsweredLink.h"
#include "ctl/ExitCode.h"
#include "ctl/ConsolePrompt.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"
#include "link/SignalWatcher.h"

class Console;
class DeviceReading;
class SettingsSet;
struct CtlRequest;
struct ExchangeResult;
struct WalkReport;

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
    // was not, or how far the run got before it was interrupted.
    bool answering();
    // Ctrl-C (or SIGTERM, SIGHUP) arrived: the exchange in progress ended the run.
    bool interrupted() const { return m_answered.interrupted(); }
    SignalWatcher &signalWatcher() { return m_signals; }
    // Whether the run ends after a walk: interrupted (the console told how far it got), the
    // device stopped answering (the console told which message), or Ok to go on.
    ExitCode ended(const WalkReport &report, const QString &what);
    // The same, howFar saying what was done before an interruption.
    ExitCode ended(const QString &howFar);
    // What a walk's report means for the run: Ok when every setting was done; otherwise
    // the console is told which were not and why, and the code says whether the device
    // stopped answering (NoDevice) or answered without doing it (NotDone).
    ExitCode outcome(const WalkReport &report, const QString &what);
    // The same for one exchange: message is the command as sent, without "$" and node.
    ExitCode outcome(const ExchangeResult &result, const QString &message);
    // The device's length unit read into set (the outcome of "RPU"), which then takes it as
    // the unit its lengths travel in.
    ExitCode readUnits(SettingsSet &set);
    // Every setting read into device, its progress on the console; what the read means for
    // the run: the outcome when every setting is needed (what says what the device did),
    // otherwise only whether the run ended.
    ExitCode readDevice(DeviceReading &device, const QString &progressPrefix, const QString &what, bool everySetting);

    template <typename Source>
    void showProgress(Source &source)
    {
        QObject::connect(&source, &Source::progress, [this](const QString &text) { progress(text); });
    }

    // A message that does not stop the run (left out with --quiet).
    void warn(const QString &text);

    // "COM3 (/dev/ttyUSB0)", or the device path.
    QString where() const;
    // For the ports command: whether port n opens; *location is what stands behind it and
    // *why, when it does not open, the reason.
    bool tryPort(int n, QString *location, QString *why);

private:
    QString whereAt(int n) const;
    void progress(const QString &text);
    // Whether the device was left write-enabled, in words.
    QString protection() const;

    const CtlRequest &m_request;
    Console &m_console;
    ConsolePrompt m_prompt;
    SignalWatcher m_signals;
    QtSerialPortIo m_io;
    SerialForm m_link;
    AnsweredLink m_answered;
};
