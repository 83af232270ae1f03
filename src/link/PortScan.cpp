// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/PortScan.h"

#include "link/PortDirectory.h"

#include <QStringList>

PortScan::PortScan(SerialPortIo *comm)
    : m_comm(comm)
{
}

bool PortScan::scan()
{
    m_comm->refreshPorts();
    bool any = false;
    for (int n = PortDirectory::FirstPort; n <= PortDirectory::LastPort; ++n)
        any = tryPort(n) || any;
    return any;
}

bool PortScan::tryPort(int n)
{
    if (n < PortDirectory::FirstPort || n > PortDirectory::LastPort)
        return false;
    m_comm->setPortNumber(n);
    const bool opened = m_comm->open();
    if (opened)
        m_comm->close();
    m_tries[size_t(n)] = Try{m_comm->describePort(n), true, opened, m_comm->lastOpenFailure(), m_comm->lastErrorText()};
    return opened;
}

void PortScan::rescan(bool retryRefused)
{
    if (m_comm->isOpen())
        return;
    m_comm->refreshPorts();
    for (int n = PortDirectory::FirstPort; n <= PortDirectory::LastPort; ++n) {
        Try &last = m_tries[size_t(n)];
        const QString location = m_comm->describePort(n);
        if (!m_comm->portPresent(n))
            last = Try{location, false, false, SerialPortIo::OpenFailure::Absent, QString()};
        else if (!last.tried || last.location != location || (!last.opened && retryRefused))
            tryPort(n);
    }
}

bool PortScan::isAvailable(int n) const
{
    return n >= PortDirectory::FirstPort && n <= PortDirectory::LastPort && m_tries[size_t(n)].opened;
}

QList<int> PortScan::available() const
{
    QList<int> numbers;
    for (int n = PortDirectory::FirstPort; n <= PortDirectory::LastPort; ++n)
        if (m_tries[size_t(n)].opened)
            numbers << n;
    return numbers;
}

QStringList PortScan::whatIs(int n) const
{
    return m_comm->portDetails(n);
}

QString PortScan::describe(int n) const
{
    return (QStringList{m_comm->describePort(n)} + whatIs(n)).join(QLatin1Char('\n')).trimmed();
}

QString PortScan::details() const
{
    QStringList refusals;
    QStringList absent;
    for (int n = PortDirectory::FirstPort; n <= PortDirectory::LastPort; ++n) {
        const Try &t = m_tries[size_t(n)];
        if (t.opened)
            continue;
        const QString name = PortDirectory::portName(n);
        switch (t.failure) {
        case SerialPortIo::OpenFailure::Absent:
        case SerialPortIo::OpenFailure::None:
            absent << name;
            break;
        case SerialPortIo::OpenFailure::Permission: {
            QString line = QStringLiteral("%1 (%2): %3").arg(name, t.location, t.error);
#ifdef Q_OS_LINUX
            line += QStringLiteral(" You probably need to be a member of the \"dialout\" group "
                                   "(sudo usermod -aG dialout $USER, then log in again).");
#endif
            refusals << line;
            break;
        }
        case SerialPortIo::OpenFailure::Busy:
        case SerialPortIo::OpenFailure::Other:
            refusals << QStringLiteral("%1 (%2): %3").arg(name, t.location, t.error);
            break;
        }
    }
    QStringList lines = refusals;
    if (!absent.isEmpty())
        lines << QStringLiteral("No serial port found for %1.").arg(absent.join(QStringLiteral(", ")));
#ifndef Q_OS_WIN
    lines << QStringLiteral("COMn is the file or link named COMn in %1; numbers without one go to "
                            "the system's serial ports in order.")
                 .arg(PortDirectory::portsFolder());
#endif
    return lines.join(QLatin1Char('\n'));
}
