// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/QtSerialPortIo.h"

#include "link/PortDirectory.h"
#include "link/PortLock.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

QtSerialPortIo::QtSerialPortIo(QObject *parent)
    : QtSerialPortIo(PortDirectory(), parent)
{
}

QtSerialPortIo::QtSerialPortIo(const PortDirectory &directory, QObject *parent)
    : SerialPortIo(parent)
    , m_directory(directory)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPortIo::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPortIo::onError);
}

void QtSerialPortIo::setPortNumber(int number)
{
    m_number = number;
}

int QtSerialPortIo::portNumber() const
{
    return m_number;
}

void QtSerialPortIo::setSettings(const QString &settings)
{
    m_settings = settings;
}

bool QtSerialPortIo::applySettings()
{
    const QStringList parts = m_settings.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool ok = false;
    const int speed = parts[0].trimmed().toInt(&ok);
    if (!ok || speed <= 0)
        return false;

    QSerialPort::Parity parity;
    const QString p = parts[1].trimmed().toLower();
    if (p == QLatin1String("n"))
        parity = QSerialPort::NoParity;
    else if (p == QLatin1String("e"))
        parity = QSerialPort::EvenParity;
    else if (p == QLatin1String("o"))
        parity = QSerialPort::OddParity;
    else if (p == QLatin1String("m"))
        parity = QSerialPort::MarkParity;
    else if (p == QLatin1String("s"))
        parity = QSerialPort::SpaceParity;
    else
        return false;

    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return false;

    QSerialPort::StopBits stop;
    const QString s = parts[3].trimmed();
    if (s == QLatin1String("1"))
        stop = QSerialPort::OneStop;
    else if (s == QLatin1String("1.5"))
        stop = QSerialPort::OneAndHalfStop;
    else if (s == QLatin1String("2"))
        stop = QSerialPort::TwoStop;
    else
        return false;

    m_port.setBaudRate(speed);
    m_port.setParity(parity);
    m_port.setDataBits(static_cast<QSerialPort::DataBits>(bits));
    m_port.setStopBits(stop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void QtSerialPortIo::fail(OpenFailure failure, const QString &text)
{
    m_failure = failure;
    m_errorText = text;
}

bool QtSerialPortIo::open()
{
    if (m_port.isOpen())
        m_port.close();
    m_failure = OpenFailure::None;
    m_errorText.clear();
    m_failing = false;

    const QString location = m_directory.location(m_number);
    if (location.isEmpty()) {
        fail(OpenFailure::Absent, tr("No serial port stands behind %1.").arg(PortDirectory::portName(m_number)));
        return false;
    }
#ifndef Q_OS_WIN
    if (!QFileInfo::exists(location)) {
        fail(OpenFailure::Absent, tr("%1 does not exist.").arg(location));
        return false;
    }
#endif
    if (!applySettings()) {
        fail(OpenFailure::Other, tr("Unusable line settings \"%1\".").arg(m_settings));
        return false;
    }
    m_port.setPortName(location);
    m_location = location;
    if (m_port.open(QIODevice::ReadWrite)) {
        // What the device sent before (a reply to a run that ended mid-exchange) is not
        // for this run: the first exchange would take it for its own.
        m_port.clear(QSerialPort::Input);
        return true;
    }

    const QSerialPort::SerialPortError error = m_port.error();
    const QString text = m_port.errorString();
    m_port.clearError();
    const auto held = [&] { return tr("%1 is in use by another program%2.").arg(location, PortLock::holder(location)); };
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        fail(OpenFailure::Absent, text);
        break;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // Qt reports a locked or busy device as a permission error too; only a device
        // that the user may not read and write is a matter of permissions.
        if (::access(QFile::encodeName(location).constData(), R_OK | W_OK) != 0)
            fail(OpenFailure::Permission, text);
        else
            fail(OpenFailure::Busy, held());
#else
        fail(OpenFailure::Busy, text);
#endif
        break;
    case QSerialPort::OpenError:
        fail(OpenFailure::Busy, held());
        break;
    default:
        fail(OpenFailure::Other, text);
        break;
    }
    return false;
}

void QtSerialPortIo::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPortIo::isOpen() const
{
    return m_port.isOpen();
}

SerialPortIo::OpenFailure QtSerialPortIo::lastOpenFailure() const
{
    return m_failure;
}

QString QtSerialPortIo::lastErrorText() const
{
    return m_errorText;
}

qint64 QtSerialPortIo::write(const QByteArray &data)
{
    if (!m_port.isOpen())
        return -1;
    qint64 done = 0;
#ifdef Q_OS_UNIX
    // Straight to the device while nothing waits in the port's own buffer. A write through
    // the port starts and stops watching for room to write, and under the GLib event loop
    // each of the two wakes the reply wait once for nothing. Whatever the device does not
    // take at once, and any error, goes through the port, which reports it as always.
    while (m_port.bytesToWrite() == 0 && done < data.size()) {
        const ssize_t n = ::write(m_port.handle(), data.constData() + done, size_t(data.size() - done));
        if (n > 0)
            done += n;
        else if (!(n < 0 && errno == EINTR))
            break;
    }
    if (done == data.size())
        return done;
#endif
    const qint64 written = m_port.write(data.constData() + done, data.size() - done);
    // Out now rather than on the next turn of the event loop: the reply wait starts at once.
    // The second call finds the write done and stops watching for room to write.
    if (written > 0) {
        m_port.flush();
        m_port.flush();
    }
    return written < 0 ? (done > 0 ? done : -1) : done + written;
}

qint64 QtSerialPortIo::bytesAvailable() const
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray QtSerialPortIo::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

QString QtSerialPortIo::describePort(int number) const
{
    return m_directory.location(number);
}

QStringList QtSerialPortIo::portDetails(int number) const
{
    return m_directory.details(number);
}

bool QtSerialPortIo::portPresent(int number) const
{
    return m_directory.present(number);
}

void QtSerialPortIo::refreshPorts()
{
    m_directory.refresh();
}

void QtSerialPortIo::onError(QSerialPort::SerialPortError error)
{
    if (!m_port.isOpen() || m_failing)
        return;
    // A vanished device shows as a resource, read or write error, and Qt repeats a read
    // error on every turn of the event loop until the port is closed.
    if (error != QSerialPort::ResourceError && error != QSerialPort::DeviceNotFoundError
        && error != QSerialPort::PermissionError && error != QSerialPort::ReadError
        && error != QSerialPort::WriteError)
        return;
    m_failing = true;
    const QString reason = m_port.errorString();
    // An unplugged adapter shows as a resource error, or its device is gone by now.
    bool removed = error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError;
#ifndef Q_OS_WIN
    removed = removed || !QFileInfo::exists(m_location);
#endif
    // Reported from the next turn of the event loop: the port must not be closed from
    // inside its own notification.
    QMetaObject::invokeMethod(
        this,
        [this, reason, removed] {
            if (!m_port.isOpen())
                return;
            if (removed)
                emit portRemoved();
            else
                emit portFailed(reason);
            if (m_port.isOpen())
                m_port.close();
        },
        Qt::QueuedConnection);
}
