// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Which system device port number n (1 to 16) stands for. On Windows n is "COMn".
// Elsewhere n is the file or symbolic link named "COMn" in the ports folder, so a
// simulated device or a chosen adapter can be given a fixed number; the numbers no such
// entry takes go, in increasing order, to the system's serial ports sorted by name, with
// the numbers in the names taken as numbers (ttyS2 before ttyS10).
class PortDirectory
{
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 16;

    // The live directory: the default folder and the ports the system lists now.
    PortDirectory();
    // A fixed directory: the given folder and system port locations (tests).
    PortDirectory(const QString &folder, const QStringList &systemLocations);
    // A directory of one device given by its path: port 1 stands for it, no other number
    // for anything.
    static PortDirectory single(const QString &location);

    // The path to open for port number n, empty when nothing stands behind it.
    QString location(int number) const;

    // "ports" under the per-user application configuration folder.
    static QString portsFolder();

private:
    QString m_folder;
    std::optional<QStringList> m_systemLocations;
    std::optional<QString> m_single;
};
