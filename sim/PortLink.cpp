// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PortLink.h"

#include "link/PortDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

PortLink::~PortLink()
{
    remove();
}

bool PortLink::create(const QString &folder, int number, const QString &target, QString *error)
{
    remove();
    if (!QDir().mkpath(folder)) {
        *error = QCoreApplication::translate("PortLink", "Cannot create the folder %1.").arg(folder);
        return false;
    }
    const QString path = QDir(folder).filePath(PortDirectory::portName(number));
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        const QString old = existing.symLinkTarget();
        if (old != target && QFileInfo::exists(old)) {
            *error = QCoreApplication::translate("PortLink", "%1 already points to %2, which exists; "
                                                             "choose another port number.")
                         .arg(path, old);
            return false;
        }
        QFile::remove(path);
    } else if (existing.exists()) {
        *error = QCoreApplication::translate("PortLink", "%1 exists and is not a symbolic link.").arg(path);
        return false;
    }
    if (!QFile::link(target, path)) {
        *error = QCoreApplication::translate("PortLink", "Cannot create the link %1.").arg(path);
        return false;
    }
    m_path = path;
    m_target = target;
    return true;
}

void PortLink::remove()
{
    if (m_path.isEmpty())
        return;
    const QFileInfo link(m_path);
    if (link.isSymLink() && link.symLinkTarget() == m_target)
        QFile::remove(m_path);
    m_path.clear();
    m_target.clear();
}

QString PortLink::path() const
{
    return m_path;
}
