// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class DeviceReading;
class Setting;
class SettingsSet;

// One set of values against another (the form or a file against the device read back,
// the form against a file), parameter by parameter, by one rule: two values are equal
// when the device would hold the same text for them, the value texts a download sends,
// in the other side's length unit at the wire's precision. No tolerance: 9.99999 and 10
// differ, 12.5 typed and 12.5 read back match, 950 held in MM matches 950 in a file in MM.
// Lists compare by token, hex by value. A value the other side did not give is never a
// match and never a difference: it is listed with why it is missing.
class SettingsComparison
{
public:
    struct Row
    {
        enum class State {
            Differs,
            NotRead,      // the other side has no value: why is in otherText
            UnitsUnknown, // a length, not compared: the other side's length unit was not read
        };
        Setting *mine;        // in the first set
        const Setting *other; // the same parameter in the other set
        State state;
        // Each side as it carries the value: the wire text, a length with the name of the
        // unit it is in ("10 MM"); for a missing value, why ("(no reply)", "refused: ERR CMD").
        QString mineText;
        QString otherText;
        // Only a difference can be taken into the first set.
        bool takeable() const { return state == State::Differs; }
    };

    // mine against the device as read (lengths in the device's unit as it answered); the
    // codes left out are not compared and not counted.
    static SettingsComparison withDevice(const SettingsSet &mine, const DeviceReading &device,
                                         const QStringList &leftOut = {});
    // mine against another set of values, the lengths in the other set's unit.
    static SettingsComparison withSet(const SettingsSet &mine, const SettingsSet &other);

    const QList<Row> &rows() const { return m_rows; }
    int compared() const { return m_compared; } // settings whose two values were compared
    int total() const { return m_total; }
    int differing() const;
    // Every setting compared and none differs.
    bool matches() const { return m_compared == m_total && m_rows.isEmpty(); }

    // A setting's value text in the given length unit, as a row shows it.
    static QString valueText(const Setting &setting, int units);

private:
    QList<Row> m_rows;
    int m_compared = 0;
    int m_total = 0;
};
