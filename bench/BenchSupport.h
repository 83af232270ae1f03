// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/UserPrompt.h"
#include "shell/DesktopOpener.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

// What the benchmarks share: their output, processor time, a simulated QTX2 on a
// pseudo-terminal, and stand-ins for the user and the desktop.
namespace BenchSupport {

inline void out(const QString &line)
{
    std::fputs(qPrintable(line), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

inline void err(const QString &line)
{
    std::fputs(qPrintable(line), stderr);
    std::fputc('\n', stderr);
}

inline double cpuSecondsSelf()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// User plus system time of another process, from /proc; -1 when unknown.
inline double cpuSecondsOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which may hold blanks, in brackets.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / ticks; // utime, stime
}

// qtx2-sim serving COM1 in a ports folder of the benchmark's own.
class Simulator
{
public:
    ~Simulator() { stop(); }

    bool start(const QString &program, const QString &folder, const QStringList &options, QString *error)
    {
        // A benchmark that dies leaves no simulator behind for long.
        m_process.start(program, QStringList{QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("--ports-folder"),
                                             folder, QStringLiteral("--quit-after-seconds"), QStringLiteral("3600")}
                                     + options);
        if (!m_process.waitForStarted(10000)) {
            *error = QStringLiteral("cannot start %1: %2").arg(program, m_process.errorString());
            return false;
        }
        // It prints the pseudo-terminal and the COM1 link once both are in place.
        QStringList lines;
        QElapsedTimer clock;
        clock.start();
        while (lines.size() < 2 && clock.elapsed() < 10000 && m_process.state() == QProcess::Running) {
            if (m_process.canReadLine() || m_process.waitForReadyRead(500))
                while (m_process.canReadLine() && lines.size() < 2)
                    lines << QString::fromLocal8Bit(m_process.readLine()).trimmed();
        }
        if (lines.size() < 2) {
            *error = QStringLiteral("qtx2-sim did not print its paths: %1")
                         .arg(QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed());
            return false;
        }
        slavePath = lines.at(0);
        linkPath = lines.at(1);
        return true;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    double cpuSeconds() const { return cpuSecondsOf(m_process.processId()); }

    QString slavePath;
    QString linkPath;

private:
    QProcess m_process;
};

// Nobody to ask: every message is noted on standard error, every question answered no.
class BenchPrompt : public UserPrompt
{
public:
    void message(const QString &text, const QString &details) override
    {
        err(QStringLiteral("message: ") + text + (details.isEmpty() ? QString() : QStringLiteral(" (") + details + ')'));
        ++count;
    }
    bool question(const QString &text, const QString &, const QString &) override
    {
        message(text, {});
        return false;
    }
    QString openFileName() override { return QString(); }
    QString saveFileName() override { return QString(); }
    int count = 0;
};

class NoOpener : public DesktopOpener
{
public:
    void openUrl(const QUrl &) override {}
};

} // namespace BenchSupport
