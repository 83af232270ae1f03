// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/ExitCode.h"

#include <QByteArray>
#include <QString>

// Where qtx2ctl's text goes. Standard output carries results only, so they can be piped;
// messages, the progress of walks and the verbose exchange log go to standard error.
// Every write to standard output is checked: a script must not take a truncated result
// for a whole one.
class Console
{
public:
    struct Options
    {
        bool verbose = false;
        bool quiet = false; // messages other than errors are left out
    };
    explicit Console(const Options &options);
    Console() : Console(Options()) {}

    void out(const QString &line);
    void outBytes(const QByteArray &bytes);
    // A write to standard output failed; why, for the message.
    bool outputFailed() const { return !m_outError.isEmpty(); }
    QString outputError() const { return m_outError; }
    // The run's exit code, or File (said on standard error) when its output did not all
    // reach standard output: a result that did not arrive is no result.
    ExitCode checked(ExitCode code);

    void error(const QString &text); // "qtx2ctl: " + text, always shown
    void warning(const QString &text); // "qtx2ctl: " + text, not with --quiet
    void note(const QString &line);
    // A walk's progress text, empty when the walk ends: shown on a terminal only, where it
    // rewrites one line; a log file gets no progress.
    void progress(const QString &text);

private:
    void endProgress();
    void put(const QByteArray &bytes);

    Options m_options;
    bool m_terminal;
    int m_shown = 0; // characters of progress on the terminal's current line
    QString m_outError;
};
