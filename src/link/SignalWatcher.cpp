// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/SignalWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
const int watched[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void onSignal(int number)
{
    const int saved = errno;
    const char byte = char(number);
    if (::write(pipeEnds[0], &byte, 1) < 0) {
        // Nothing to do: the pipe is full, so a quit is pending anyway.
    }
    errno = saved;
}

} // namespace

SignalWatcher::SignalWatcher(QObject *parent)
    : QObject(parent)
{
    if (pipeEnds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0)
        return; // one watcher per process
    for (int fd : pipeEnds)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(pipeEnds[0], F_SETFL, fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    // Read through Qt's file, so the program itself calls no unchecked read().
    m_readEnd.open(pipeEnds[1], QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readSignal);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : watched)
        sigaction(number, &action, nullptr);
}

SignalWatcher::~SignalWatcher()
{
    if (!m_notifier)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : watched)
        sigaction(number, &action, nullptr);
    delete m_notifier;
    m_readEnd.close();
    for (int &fd : pipeEnds) {
        ::close(fd);
        fd = -1;
    }
}

bool SignalWatcher::isWatching() const
{
    return m_notifier != nullptr;
}

void SignalWatcher::readSignal()
{
    char byte = 0;
    if (m_readEnd.read(&byte, 1) == 1)
        emit signalled(int(byte));
}
