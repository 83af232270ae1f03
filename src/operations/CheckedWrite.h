// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ExchangeResult.h"

#include <QList>
#include <QString>

class ParameterLink;
class Setting;
class SettingsSet;

// Chosen settings written to the device and read back, so that a success is the device
// seen holding every value: the units first (the lengths after them travel in them), then
// each in the order given; then the device's units and each value read into a set of
// their own and compared as every comparison compares.
namespace CheckedWrite {

struct Row
{
    Setting *setting;
    ExchangeResult write;
    ExchangeResult read;  // the read back (not made when the write was not done)
    bool held = false;    // the device holds the value written
    QString setText;      // as written, a length with its unit
    QString deviceText;   // as read back, or why not
};

// The settings belong to set, whose link is link.
QList<Row> run(ParameterLink *link, SettingsSet &set, const QList<Setting *> &settings);

} // namespace CheckedWrite
