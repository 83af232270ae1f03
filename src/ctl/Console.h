// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Where qtx2ctl's text goes. Standard output carries results only, so they can be piped;
// messages, the progress of walks and the verbose exchange log go to standard error.
class Console
{
public:
    explicit Console(bool verbose);

    void out(const QString &line);
    void outBytes(const QByteArray &bytes);
    void error(const QString &text); // "qtx2ctl: " + text
    void note(const QString &line);
    // A walk's progress text, empty when the walk ends. On a terminal it rewrites one
    // line; elsewhere (and among verbose lines) each text is a line of its own.
    void progress(const QString &text);

private:
    void endProgress();

    bool m_rewrite;
    int m_shown = 0; // characters of progress on the terminal's current line
};
