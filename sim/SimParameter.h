// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// One setup parameter as the simulated device holds it: what a write must carry to be
// taken, and the value the factory reset puts back.
struct SimParameter
{
    enum class Kind { Integer, Float, List, Hex };

    QString code; // case-sensitive
    Kind kind = Kind::Integer;
    double min = 0; // inclusive; lengths in inches; hex values are never limited
    double max = 0;
    bool units = false; // a length: it travels in the device's unit
    QStringList tokens; // the choices of a list
    QString factory;    // in inches; empty: 0, or the first choice of a list
};
