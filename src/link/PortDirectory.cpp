// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/PortDirectory.h"

#include "link/LeadingNumber.h"

#include <cmath>

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

QStringList describe(const PortDirectory::SystemPort &port)
{
    QStringList out;
    // Many adapters repeat the maker in the product's name.
    QString name = port.product.startsWith(port.maker) ? port.product : (port.maker + QLatin1Char(' ') + port.product);
    if (!name.trimmed().isEmpty())
        out << name.trimmed();
    if (!port.serial.isEmpty())
        out << QStringLiteral("serial number %1").arg(port.serial);
    if (!port.stableName.isEmpty())
        out << port.stableName;
    return out;
}

QString keyOf(const PortDirectory::SystemPort &port)
{
    return port.stableName.isEmpty() ? port.location : port.stableName;
}

} // namespace

PortDirectory::PortDirectory()
    : PortDirectory(portsFolder(), SystemPorts([] { return systemPorts(); }), std::nullopt)
{
}

PortDirectory::PortDirectory(const QString &folder, const QStringList &systemLocations)
    : PortDirectory(folder, SystemPorts([systemLocations] {
                        QList<SystemPort> ports;
                        for (const QString &location : systemLocations)
                            ports.append(SystemPort{location, {}, {}, {}, {}});
                        return ports;
                    }),
                    std::nullopt)
{
}

PortDirectory::PortDirectory(const QString &folder, SystemPorts systemPorts, std::optional<QString> single)
    : m_folder(folder)
    , m_systemPorts(std::move(systemPorts))
    , m_single(std::move(single))
{
    refresh();
}

PortDirectory PortDirectory::listing(const QString &folder, SystemPorts systemPorts)
{
    return PortDirectory(folder, std::move(systemPorts), std::nullopt);
}

PortDirectory PortDirectory::single(const QString &location)
{
    return PortDirectory(QString(), SystemPorts([] { return QList<SystemPort>(); }), location);
}

QString PortDirectory::portsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/ports");
}

QList<PortDirectory::SystemPort> PortDirectory::systemPorts(const QString &byIdFolder)
{
    QHash<QString, QString> stableNames; // the device a name leads to -> the name
    const QFileInfoList names =
        QDir(byIdFolder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &name : names)
        if (!name.canonicalFilePath().isEmpty())
            stableNames.insert(name.canonicalFilePath(), name.absoluteFilePath());

    QList<SystemPort> ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        ports.append(SystemPort{info.systemLocation(), info.manufacturer(), info.description(), info.serialNumber(),
                                stableNames.value(QFileInfo(info.systemLocation()).canonicalFilePath())});
    return ports;
}

void PortDirectory::refresh()
{
    m_slots.fill(Slot());
    if (m_single) {
        m_slots[FirstPort].location = *m_single;
        m_slots[FirstPort].listed = true;
        return;
    }
    const QList<SystemPort> ports = m_systemPorts();
#ifdef Q_OS_WIN
    for (int n = FirstPort; n <= LastPort; ++n) {
        const QString name = portName(n);
        m_slots[n].location = name;
        for (const SystemPort &port : ports)
            if (port.location.section(QLatin1Char('\\'), -1).compare(name, Qt::CaseInsensitive) == 0) {
                m_slots[n].details = describe(port);
                m_slots[n].listed = true;
            }
    }
#else
    // The system's ports by the device they are, for entries that point at one of them.
    QHash<QString, const SystemPort *> byDevice;
    for (const SystemPort &port : ports)
        byDevice.insert(QFileInfo(port.location).canonicalFilePath(), &port);

    std::array<bool, LastPort + 1> entries{};
    const QDir folder(m_folder);
    for (int n = FirstPort; n <= LastPort; ++n) {
        const QFileInfo entry(folder.filePath(portName(n)));
        // A dangling link still holds its number, so the others do not shift while a
        // simulated device is not running.
        if (m_folder.isEmpty() || !(entry.exists() || entry.isSymLink()))
            continue;
        entries[size_t(n)] = true;
        Slot &slot = m_slots[size_t(n)];
        slot.location = entry.filePath();
        const QString target = entry.isSymLink() ? entry.symLinkTarget() : QString();
        if (!target.isEmpty())
            slot.details << QStringLiteral("→ %1").arg(target);
        if (const SystemPort *port = byDevice.value(entry.canonicalFilePath())) {
            if (port->location != target)
                slot.details << port->location;
            for (const QString &line : describe(*port))
                if (line != target)
                    slot.details << line;
        }
    }
    assignSystemPorts(ports, entries);
#endif
}

void PortDirectory::assignSystemPorts(QList<SystemPort> ports, const std::array<bool, LastPort + 1> &entries)
{
    std::stable_sort(ports.begin(), ports.end(), [](const SystemPort &a, const SystemPort &b) {
        return naturalLess(QFileInfo(a.location).fileName(), QFileInfo(b.location).fileName());
    });
    std::array<bool, LastPort + 1> taken = entries;
    QList<int> numbers(ports.size(), 0);
    // A port seen before keeps its number unless an entry of the folder has taken it.
    for (int i = 0; i < ports.size(); ++i) {
        const int n = m_given.value(keyOf(ports[i]), 0);
        if (n >= FirstPort && n <= LastPort && !taken[size_t(n)]) {
            numbers[i] = n;
            taken[size_t(n)] = true;
        }
    }
    // The others take the lowest number no absent port held; failing that, any free one.
    std::array<bool, LastPort + 1> held = taken;
    for (auto it = m_given.cbegin(); it != m_given.cend(); ++it)
        if (it.value() >= FirstPort && it.value() <= LastPort)
            held[size_t(it.value())] = true;
    for (int i = 0; i < ports.size(); ++i) {
        if (numbers[i] != 0)
            continue;
        int n = FirstPort;
        while (n <= LastPort && held[size_t(n)])
            ++n;
        if (n > LastPort) {
            n = FirstPort;
            while (n <= LastPort && taken[size_t(n)])
                ++n;
        }
        if (n > LastPort)
            break;
        numbers[i] = n;
        taken[size_t(n)] = held[size_t(n)] = true;
        // Whichever absent port held the number lets go of it.
        for (auto it = m_given.begin(); it != m_given.end();)
            it = it.value() == n ? m_given.erase(it) : std::next(it);
        m_given.insert(keyOf(ports[i]), n);
    }
    for (int i = 0; i < ports.size(); ++i) {
        if (numbers[i] == 0)
            continue;
        Slot &slot = m_slots[size_t(numbers[i])];
        slot.location = ports[i].location;
        slot.details = describe(ports[i]);
    }
}

QString PortDirectory::location(int number) const
{
    if (number < FirstPort || number > LastPort)
        return QString();
    return m_slots[size_t(number)].location;
}

QStringList PortDirectory::details(int number) const
{
    if (number < FirstPort || number > LastPort)
        return QStringList();
    return m_slots[size_t(number)].details;
}

bool PortDirectory::present(int number) const
{
    if (number < FirstPort || number > LastPort)
        return false;
#ifdef Q_OS_WIN
    return m_slots[size_t(number)].listed;
#else
    const QString &path = m_slots[size_t(number)].location;
    return !path.isEmpty() && QFileInfo::exists(path);
#endif
}

QString PortDirectory::portName(int number)
{
    return QStringLiteral("COM") + QString::number(number);
}

int PortDirectory::portNumber(const QString &name)
{
    if (name.size() < 4)
        return 1;
    qint16 n = 0;
    return LeadingNumber::integer(name.mid(3), &n) && n >= 0 ? n : -1;
}
