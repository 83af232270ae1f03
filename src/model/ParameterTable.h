// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

// The QTX2's setup parameters: for each, the control that edits it, its tab, kind,
// command code (case-sensitive), title, limits, units flag and choices. Shared by the
// window, which builds its items from it, and by the simulated device.
namespace ParameterTable {

enum class Kind { Integer, Float, List, Hex };

struct Choice
{
    QString display; // what the user sees
    QString token;   // what the device and settings files carry
};

struct Parameter
{
    QString control; // "PlacesItem"
    int index = -1;  // index within a control array, -1 for a single control
    QString tab;     // tab caption
    Kind kind = Kind::Integer;
    QString code;
    QString title;
    double min = 0;
    double max = 0;
    bool units = false;
    QList<Choice> choices;

    QString name() const; // "PlacesItem" or "LimitLBItem(2)"
    // A title no other parameter shares: the title, or for the magnet offsets (which have
    // none) and the two bounds of a limit switch (which share one) "Magnet 4 Offset",
    // "Limit 3 Lower Bound", "Limit 3 Upper Bound".
    QString distinctTitle() const;
};

// Every parameter, in the order the catalogue configures them (86 rows).
const QList<Parameter> &parameters();

// The order in which the window creates its items, which is the order of the item list:
// the 72 layout items, then MagOffItem(1) to (14).
const QList<Parameter> &creationOrder();

// The parameter with this code (exact case), or nullptr.
const Parameter *byCode(const QString &code);
// The parameter edited by this control, or nullptr.
const Parameter *byControl(const QString &control, int index = -1);

// The eight tab captions, in tab order.
const QStringList &tabs();

} // namespace ParameterTable
