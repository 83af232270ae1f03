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
    bool held = false;    // the device holds the value written
    QString setText;      // as written, a length with its unit
    QString deviceText;   // as read back, or why not
};

QList<Row> run(ParameterLink *link, SettingsSet &set, const QList<Setting *> &settings);

// One expected value against the device's.
struct ReadBackRow
{
    const Setting *expected;
    ExchangeResult read;
    bool held = false;  // the device holds the expected value
    QString deviceText; // as read, or why not
};

struct ReadBack
{
    ExchangeResult units; // the device's length unit, read first
    QList<ReadBackRow> rows;
};

// The read-back half of run, for values expected of the device without writing them:
// the device's units, then each setting read in order (a length only when the units were
// read). The units setting among them is taken from that first read, unless unitsAgain
// asks for it to be read once more.
ReadBack readBack(ParameterLink *link, const QList<const Setting *> &expected, bool unitsAgain = false);

} // namespace CheckedWrite
