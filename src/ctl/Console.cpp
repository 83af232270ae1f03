// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/Console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

void toStderr(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
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

Console::Console(const Options &options) : m_options(options), m_terminal(isTerminal(stderr))
{
#ifdef Q_OS_WIN
    // Settings files end their lines in CR LF already.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void Console::out(const QString &line)
{
    put(line.toLocal8Bit() + '\n');
}

void Console::outBytes(const QByteArray &bytes)
{
    put(bytes);
}

void Console::put(const QByteArray &bytes)
{
    if (outputFailed())
        return;
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (written != size_t(bytes.size()) || std::fflush(stdout) != 0)
        m_outError = QString::fromLocal8Bit(std::strerror(errno ? errno : EIO));
}

void Console::error(const QString &text)
{
    note(QStringLiteral("qtx2ctl: ") + text);
}

void Console::warning(const QString &text)
{
    if (!m_options.quiet)
        note(QStringLiteral("qtx2ctl: ") + text);
}

void Console::note(const QString &line)
{
    endProgress();
    toStderr(line.toLocal8Bit() + '\n');
}

void Console::progress(const QString &text)
{
    if (!m_terminal || m_options.quiet || m_options.verbose)
        return;
    if (text.isEmpty()) {
        endProgress();
        return;
    }
    toStderr('\r' + text.leftJustified(m_shown).toLocal8Bit());
    m_shown = int(text.size());
}

void Console::endProgress()
{
    if (m_shown == 0)
        return;
    toStderr('\r' + QByteArray(m_shown, ' ') + '\r');
    m_shown = 0;
}

ExitCode Console::checked(ExitCode code)
{
    if (!outputFailed())
        return code;
    error(QStringLiteral("cannot write standard output: %1").arg(m_outError));
    return ExitCode::File;
}
