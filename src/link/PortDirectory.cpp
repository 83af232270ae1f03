// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/PortDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

// Names with their runs of digits compared as numbers: ttyS2 before ttyS10.
bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            const qsizetype startA = i;
            const qsizetype startB = j;
            while (i < a.size() && a.at(i).isDigit())
                ++i;
            while (j < b.size() && b.at(j).isDigit())
                ++j;
            // Leading zeros aside, the longer run is the larger number.
            QStringView x = QStringView(a).mid(startA, i - startA);
            QStringView y = QStringView(b).mid(startB, j - startB);
            while (x.size() > 1 && x.front() == QLatin1Char('0'))
                x = x.mid(1);
            while (y.size() > 1 && y.front() == QLatin1Char('0'))
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (const int c = x.compare(y); c != 0)
                return c < 0;
        } else {
            if (a.at(i) != b.at(j))
                return a.at(i) < b.at(j);
            ++i;
            ++j;
        }
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b;
}

} // namespace

PortDirectory::PortDirectory()
    : m_folder(portsFolder())
{
}

PortDirectory::PortDirectory(const QString &folder, const QStringList &systemLocations)
    : m_folder(folder)
    , m_systemLocations(systemLocations)
{
}

PortDirectory PortDirectory::single(const QString &location)
{
    PortDirectory directory{QString(), QStringList()};
    directory.m_single = location;
    return directory;
}

QString PortDirectory::portsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/ports");
}

QString PortDirectory::location(int number) const
{
    if (number < FirstPort || number > LastPort)
        return QString();
    if (m_single)
        return number == FirstPort ? *m_single : QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QDir folder(m_folder);
    auto entryFor = [&folder](int n) {
        const QFileInfo entry(folder.filePath(QStringLiteral("COM%1").arg(n)));
        // A dangling link still holds its number, so the others do not shift while a
        // simulated device is not running.
        return entry.exists() || entry.isSymLink() ? entry.filePath() : QString();
    };
    const QString own = entryFor(number);
    if (!own.isEmpty())
        return own;

    QStringList system;
    if (m_systemLocations) {
        system = *m_systemLocations;
    } else {
        const auto ports = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo &info : ports)
            system << info.systemLocation();
    }
    std::stable_sort(system.begin(), system.end(), [](const QString &a, const QString &b) {
        return naturalLess(QFileInfo(a).fileName(), QFileInfo(b).fileName());
    });

    int next = 0;
    for (int n = FirstPort; n < number; ++n) {
        if (entryFor(n).isEmpty())
            ++next;
    }
    return next < system.size() ? system.at(next) : QString();
#endif
}
