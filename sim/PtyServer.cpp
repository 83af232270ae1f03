// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PtyServer.h"

#include "Qtx2Device.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyServer::PtyServer(Qtx2Device *device, QObject *parent)
    : QObject(parent)
    , m_device(device)
{
    connect(&m_pacer, &ReplyPacer::output, this, &PtyServer::queueOutput);
    // The last reply gets a moment to reach the other side before the line goes dead:
    // closing the terminal at once would throw away what it has not read yet.
    connect(&m_pacer, &ReplyPacer::pullCable, this,
            [this] { QTimer::singleShot(PullDelayMs, this, &PtyServer::pullCable); });
}

PtyServer::~PtyServer()
{
    closeAll();
}

bool PtyServer::start()
{
    closeAll();
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        m_error = tr("Cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        closeAll();
        return false;
    }
    const char *name = ptsname(m_master);
    m_slavePath = name ? QString::fromLocal8Bit(name) : QString();
    m_slave = name ? ::open(name, O_RDWR | O_NOCTTY) : -1;
    if (m_slave < 0) {
        m_error = tr("Cannot open the pseudo-terminal's slave %1: %2")
                      .arg(m_slavePath, QString::fromLocal8Bit(strerror(errno)));
        closeAll();
        return false;
    }
    termios tio{};
    if (tcgetattr(m_slave, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B19200);
        cfsetospeed(&tio, B19200);
        tcsetattr(m_slave, TCSANOW, &tio);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_masterFile.open(m_master, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyServer::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyServer::flush);
    return true;
}

QString PtyServer::errorText() const
{
    return m_error;
}

QString PtyServer::slavePath() const
{
    return m_slavePath;
}

bool PtyServer::isOpen() const
{
    return m_master >= 0;
}

void PtyServer::setLineRate(int baud)
{
    m_pacer.setLineRate(baud);
}

void PtyServer::pullCable()
{
    if (!isOpen())
        return;
    closeAll();
    emit cablePulled();
}

void PtyServer::readMaster()
{
    for (bool first = true;; first = false) {
        // What waits is read through Qt's file, so the simulator calls no unchecked read().
        int waiting = 0;
        const bool asked = ioctl(m_master, FIONREAD, &waiting) == 0;
        if (asked && waiting <= 0 && !first)
            return;
        // Told readable with nothing waiting: nobody is at the other side (end of file or EIO).
        if (!asked || waiting <= 0) {
            // Look again shortly instead of spinning on a descriptor that stays readable.
            m_readNotifier->setEnabled(false);
            QTimer::singleShot(100, this, [this] {
                if (m_readNotifier)
                    m_readNotifier->setEnabled(true);
            });
            return;
        }
        const QByteArray bytes = m_masterFile.read(waiting);
        if (bytes.isEmpty())
            return;
        const QList<Qtx2Device::Reply> replies = m_device->feed(bytes);
        // Told and forgotten: a simulator left polling for days must not grow.
        const QStringList log = m_device->log();
        m_device->clearLog();
        for (const QString &message : log)
            emit messageReceived(message);
        for (const Qtx2Device::Reply &reply : replies) {
            if (!reply.bytes.isEmpty())
                emit replyMade(reply.bytes);
            m_pacer.send(reply);
        }
        if (!isOpen())
            return;
    }
}

void PtyServer::queueOutput(const QByteArray &bytes)
{
    if (!isOpen())
        return;
    m_pending += bytes.left(qMax(0, MaxPending - int(m_pending.size())));
    flush();
}

void PtyServer::flush()
{
    while (!m_pending.isEmpty() && isOpen()) {
        const ssize_t n = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
        if (n > 0) {
            m_pending.remove(0, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // full (EAGAIN): wait until the tty takes more
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_pending.isEmpty());
}

void PtyServer::closeAll()
{
    m_pacer.cancel();
    m_pending.clear();
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    m_masterFile.close();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}
