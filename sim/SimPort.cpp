// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SimPort.h"

#include "link/PortDirectory.h"

SimPort::SimPort(QObject *parent)
    : SimPort(nullptr, parent)
{
}

SimPort::SimPort(Qtx2Device *device, QObject *parent)
    : SerialPortIo(parent)
    , m_owned(device ? nullptr : new Qtx2Device)
    , m_device(device ? device : m_owned.get())
{
    connect(&m_pacer, &ReplyPacer::output, this, &SimPort::deliver);
    connect(&m_pacer, &ReplyPacer::pullCable, this, &SimPort::pullCable);
}

SimPort::~SimPort() = default;

Qtx2Device &SimPort::device()
{
    return *m_device;
}

void SimPort::setAvailablePorts(const QList<int> &numbers)
{
    m_available = numbers;
    if (m_open && !m_available.contains(m_number)) {
        m_pacer.cancel();
        emit portRemoved();
    }
}

void SimPort::setBusyPorts(const QList<int> &numbers)
{
    m_busy = numbers;
}

void SimPort::setLineRate(int baud)
{
    m_pacer.setLineRate(baud);
}

void SimPort::setPortNumber(int number)
{
    m_number = number;
}

int SimPort::portNumber() const
{
    return m_number;
}

void SimPort::setSettings(const QString &settings)
{
    m_settings = settings;
}

QString SimPort::settings() const
{
    return m_settings;
}

bool SimPort::open()
{
    if (m_open) {
        m_failure = OpenFailure::Busy;
        m_errorText = tr("%1 is already open.").arg(PortDirectory::portName(m_number));
        return false;
    }
    if (m_pulled || !m_available.contains(m_number)) {
        m_failure = OpenFailure::Absent;
        m_errorText = tr("%1: no such port.").arg(PortDirectory::portName(m_number));
        return false;
    }
    if (m_busy.contains(m_number)) {
        m_failure = OpenFailure::Busy;
        m_errorText = tr("%1 is in use by another program.").arg(PortDirectory::portName(m_number));
        return false;
    }
    m_failure = OpenFailure::None;
    m_errorText.clear();
    m_rx.clear();
    m_open = true;
    ++m_opens;
    return true;
}

void SimPort::close()
{
    m_open = false;
    m_pacer.cancel();
    m_rx.clear();
}

bool SimPort::isOpen() const
{
    return m_open;
}

SerialPortIo::OpenFailure SimPort::lastOpenFailure() const
{
    return m_failure;
}

QString SimPort::lastErrorText() const
{
    return m_errorText;
}

qint64 SimPort::write(const QByteArray &data)
{
    if (!m_open || m_pulled || !m_available.contains(m_number))
        return -1;
    m_wire += data;
    for (const Qtx2Device::Reply &reply : m_device->feed(data))
        m_pacer.send(reply);
    return data.size();
}

qint64 SimPort::bytesAvailable() const
{
    return m_rx.size();
}

QByteArray SimPort::readAll()
{
    QByteArray out;
    out.swap(m_rx);
    return out;
}

QString SimPort::describePort(int number) const
{
    if (!m_available.contains(number))
        return QString();
    return tr("simulated QTX2 on %1").arg(PortDirectory::portName(number));
}

bool SimPort::portPresent(int number) const
{
    return m_available.contains(number);
}

QByteArray SimPort::wire() const
{
    return m_wire;
}

QStringList SimPort::sentMessages() const
{
    QStringList out;
    QByteArray part;
    for (char c : m_wire) {
        if (c == '\r') {
            out << QString::fromLatin1(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return out;
}

void SimPort::clearWire()
{
    m_wire.clear();
}

int SimPort::openCount() const
{
    return m_opens;
}

void SimPort::pullCable()
{
    if (m_pulled)
        return;
    m_pulled = true;
    m_pacer.cancel();
    if (m_open)
        emit portFailed(tr("The cable of %1 was pulled.").arg(PortDirectory::portName(m_number)));
}

void SimPort::plugCable()
{
    m_pulled = false;
    m_device->plugCable();
}

bool SimPort::cablePulled() const
{
    return m_pulled;
}

void SimPort::inject(const QByteArray &bytes)
{
    deliver(bytes);
}

void SimPort::deliver(const QByteArray &bytes)
{
    if (!m_open || m_pulled || !m_available.contains(m_number) || bytes.isEmpty())
        return;
    // Like a UART whose buffer nobody empties: what does not fit is lost.
    m_rx += bytes.left(qMax(0, MaxBuffered - int(m_rx.size())));
    emit readyRead();
}
