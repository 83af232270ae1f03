// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/Console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

void put(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

bool isTerminal(FILE *stream)
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream));
#else
    return isatty(fileno(stream));
#endif
}

} // namespace

Console::Console(bool verbose) : m_rewrite(!verbose && isTerminal(stderr))
{
#ifdef Q_OS_WIN
    // Settings files end their lines in CR LF already.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void Console::out(const QString &line)
{
    put(stdout, line.toLocal8Bit() + '\n');
}

void Console::outBytes(const QByteArray &bytes)
{
    put(stdout, bytes);
}

void Console::error(const QString &text)
{
    note(QStringLiteral("qtx2ctl: ") + text);
}

void Console::note(const QString &line)
{
    endProgress();
    put(stderr, line.toLocal8Bit() + '\n');
}

void Console::progress(const QString &text)
{
    if (!m_rewrite) {
        if (!text.isEmpty())
            put(stderr, text.toLocal8Bit() + '\n');
        return;
    }
    if (text.isEmpty()) {
        endProgress();
        return;
    }
    put(stderr, '\r' + text.leftJustified(m_shown).toLocal8Bit());
    m_shown = int(text.size());
}

void Console::endProgress()
{
    if (m_shown == 0)
        return;
    put(stderr, '\r' + QByteArray(m_shown, ' ') + '\r');
    m_shown = 0;
}
