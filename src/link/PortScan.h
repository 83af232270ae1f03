// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/SerialPortIo.h"

#include <QList>
#include <QString>
#include <array>

// Which port numbers open, tried on the link's one serial port: every number at start-up,
// then at each new look only where something changed, so a device that is there already is
// not opened (and its modem lines not stirred) every time the list is brought up to date.
class PortScan
{
public:
    explicit PortScan(SerialPortIo *comm);

    // Tries ports 1 to 16 after a new look at the ports; true when at least one opens.
    bool scan();
    // Tries port n alone, as it stands.
    bool tryPort(int n);
    // A new look at the ports, never while the port is open: a number whose device is gone
    // is dropped untried, one whose device is new or another since it was tried is tried,
    // and one that refused is tried again only with retryRefused.
    void rescan(bool retryRefused);

    bool isAvailable(int n) const;
    QList<int> available() const;
    // What port n is beyond its device: maker and product, serial number, stable name.
    QStringList whatIs(int n) const;
    // The device behind port n, then what it is, one line each.
    QString describe(int n) const;
    // Why ports refused at their last try, and where the numbers come from.
    QString details() const;

private:
    struct Try
    {
        QString location;
        bool tried = false;
        bool opened = false;
        SerialPortIo::OpenFailure failure = SerialPortIo::OpenFailure::Absent;
        QString error;
    };

    SerialPortIo *m_comm;
    std::array<Try, 17> m_tries;
};
