// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/PortLock.h"

#include <QFile>
#include <QStringList>

namespace PortLock {

QString holder(const QString &location)
{
#ifdef Q_OS_UNIX
    QString name = location;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char *folder : {"/var/lock", "/run/lock", "/tmp", "/var/tmp", "/var/spool/locks", "/var/spool/uucp"}) {
        QFile lock(QString::fromLatin1(folder) + QStringLiteral("/LCK..") + name);
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        // The process ID, then the program's name, one a line.
        const QStringList lines = QString::fromLocal8Bit(lock.read(4096)).split(QLatin1Char('\n'));
        bool ok = false;
        const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
        if (!ok || pid <= 0 || !QFile::exists(QStringLiteral("/proc/%1").arg(pid)))
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        QString program = lines.value(1).trimmed();
        if (comm.open(QIODevice::ReadOnly))
            program = QString::fromLocal8Bit(comm.readAll()).trimmed();
        return program.isEmpty() ? QStringLiteral(" (process %1)").arg(pid)
                                 : QStringLiteral(" (%1, process %2)").arg(program).arg(pid);
    }
#else
    Q_UNUSED(location)
#endif
    return QString();
}

} // namespace PortLock
