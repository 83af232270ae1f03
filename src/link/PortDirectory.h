// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

// Which system device port number n (1 to 16) stands for. On Windows n is "COMn".
// Elsewhere n is the file or symbolic link named "COMn" in the ports folder, so a
// simulated device or a chosen adapter can be given a fixed number; the numbers no such
// entry takes go to the system's serial ports.
//
// The directory is a picture taken at refresh(). At the first one the system's ports take
// the free numbers in increasing order, sorted by name with the numbers in the names taken
// as numbers (ttyS2 before ttyS10). After that a port keeps its number for as long as it is
// there, whatever comes or goes: a port that appears later takes the lowest number that is
// free and that no absent port held, not its place in name order (a /dev/ttyUSB1 plugged in
// after /dev/ttyUSB2 comes after it), and a port that comes back within the run gets its
// old number again. Ports are known by their /dev/serial/by-id name where they have one,
// so an adapter plugged back finds its number even when the system names it anew.
class PortDirectory
{
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 16;

    // What the system knows about one of its serial ports; empty where it knows nothing.
    struct SystemPort
    {
        QString location;   // "/dev/ttyUSB0"
        QString maker;      // "FTDI"
        QString product;    // "FT232R USB UART"
        QString serial;     // the adapter's serial number
        QString stableName; // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0"
    };
    using SystemPorts = std::function<QList<SystemPort>()>;

    // The live directory: the default folder and the ports the system lists.
    PortDirectory();
    // A fixed directory: the given folder and system port locations (tests).
    PortDirectory(const QString &folder, const QStringList &systemLocations);
    // The given folder, and system ports as the function lists them at each refresh.
    static PortDirectory listing(const QString &folder, SystemPorts systemPorts);
    // A directory of one device given by its path: port 1 stands for it, no other number
    // for anything.
    static PortDirectory single(const QString &location);

    // Takes a new picture of the folder and the system's ports.
    void refresh();

    // The path to open for port number n, empty when nothing stands behind it.
    QString location(int number) const;
    // What port n is beyond its path: maker and product, serial number, stable name; for
    // an entry of the ports folder, what it points to and what that is.
    QStringList details(int number) const;
    // Whether something is there to open now (a dangling link in the folder is not).
    bool present(int number) const;

    // The one way ports are named: "COM3".
    static QString portName(int number);
    // The port number a name gives: the leading number from its fourth character on
    // ("COM3" is 3, "COM12" 12), 1 for a name shorter than four characters; -1 when that
    // is no whole number a port could have.
    static int portNumber(const QString &name);

    // "ports" under the per-user application configuration folder.
    static QString portsFolder();
    // The system's serial ports now, with their /dev/serial/by-id names from byIdFolder.
    static QList<SystemPort> systemPorts(const QString &byIdFolder = QStringLiteral("/dev/serial/by-id"));

private:
    PortDirectory(const QString &folder, SystemPorts systemPorts, std::optional<QString> single);

    struct Slot
    {
        QString location;
        QStringList details;
        bool listed = false; // by the system (Windows, where every COMn has a path)
    };

    void assignSystemPorts(QList<SystemPort> ports, const std::array<bool, LastPort + 1> &entries);

    QString m_folder;
    SystemPorts m_systemPorts;
    std::optional<QString> m_single;
    std::array<Slot, LastPort + 1> m_slots;
    // The number each port has had in this run, by its stable name or else its location.
    QHash<QString, int> m_given;
};
