// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/Setting.h"

// A real-valued parameter. A length (units flag set) has a display unit: the text shows
// the value in that unit, the device and files carry it in current_units, and the limits
// are in inches. Lengths travel in single precision.
//
// The value is kept as it arrived or was typed (a length in the unit it came in); the
// text shows it, in another unit converted for the eye only. So neither a unit choice nor
// the display's rounding changes what a download sends or a file holds.
class FloatSetting : public Setting
{
    Q_OBJECT
public:
    using Setting::Setting;

    void set_all(const QString &s, const QString &t, double minval, double maxval, bool uflag);
    void set_limits(double minval, double maxval);
    void set_units(bool uflag);
    void set_value(double value); // in inches for a length
    double lowerLimit() const { return m_min; }
    double upperLimit() const { return m_max; }
    bool hasUnits() const { return m_uflag; }
    int displayUnit() const { return m_displayUnit; }
    bool unitChosen() const { return m_unitChosen; }
    // The value in inches for a length, else the plain number.
    double value() const;
    // A length's value as the text would show it in unit n; the text itself otherwise.
    QString textIn(int n) const;

    void editText(const QString &text);
    // The user picked unit n in the selector, or left it (n is then the unit shown):
    // the value is shown in n.
    void selectUnit(int n);

    void reset_units() override;
    void setDefault(const QVariant &value) override;
    QString valueText() const override { return text(); }
    QString fileValue() const override;
    // Refused outside the limits (tested in inches for a length).
    bool take(const QString &text) override;
    QString wireValueIn(int units) const override;
    bool isLength() const override { return m_uflag; }

signals:
    // The unit selector is shown or hidden.
    void unitsChanged();

protected:
    QString wireValue() const override;
    bool isValue(const QString &reply) const override;
    // By value: a length as the other holds it, in the unit it holds it in.
    bool adopt(const Setting &other) override;

private:
    bool withinLimits(double *v) const;
    int current_units() const;
    float convert(double value, int from, int to) const;
    // A length's value in unit n.
    float inUnit(int n) const;
    // The number that writes and file lines carry when the device's unit is units.
    double outgoing(int units) const;
    // A length arrived in unit: kept as it is, shown in the chosen unit or the device's.
    void arrive(float value, int unit);
    void showUnit(int unit, float value);
    // A plain number kept and shown.
    void hold(double value);

    double m_min = 0;
    double m_max = 0;
    bool m_uflag = false;
    int m_displayUnit = 0;
    bool m_unitChosen = false;
    double m_exact = 0;  // the value as it arrived or was typed (a length in single precision)...
    int m_exactUnit = 0; // ...a length's in this unit
};
