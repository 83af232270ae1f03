// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/Setting.h"

// A real-valued parameter. A length (units flag set) has a display unit: the text holds
// the value in that unit, the device and files carry it in current_units, and the limits
// are in inches. Lengths travel in single precision.
class FloatSetting : public Setting
{
    Q_OBJECT
public:
    using Setting::Setting;

    void set_all(const QString &s, const QString &t, double minval, double maxval, bool uflag);
    void set_limits(double minval, double maxval);
    void set_units(bool uflag);
    void set_value(double value); // in inches for a length
    double lower_limit() const { return m_min; }
    double upper_limit() const { return m_max; }
    bool has_units() const { return m_uflag; }
    int display_unit() const { return m_displayUnit; }
    bool unit_chosen() const { return m_unitChosen; }
    // The value in inches for a length, else the plain number.
    double value() const;

    void edit_text(const QString &text) { edit_to(text); }
    // The user picked unit n in the selector, or left it (n is then the unit shown):
    // the value is re-expressed in n.
    void select_unit(int n);

    void reset_units() override;
    void set_default(const QVariant &value) override;
    QString value_text() const override { return text(); }
    QString file_value() const override;
    // Refused outside the limits (tested in inches for a length).
    bool take(const QString &text) override;
    bool same_value(const Setting &other) const override;
    QString shown_as_mine(const Setting &other) const override;

signals:
    // The unit selector is shown or hidden.
    void unitsChanged();

protected:
    QString wire_value() const override;
    // By value: a length in inches, whatever unit either side shows or carries it in.
    bool adopt(const Setting &other) override;

private:
    bool within_limits(double *v) const;
    int current_units() const;
    float convert(double value, int from, int to) const;
    double field_value() const;
    // The number that writes and file lines carry, in current_units for a length.
    double outgoing() const;
    void show_arriving(double value);
    void show_unit(int unit, float value);

    double m_min = 0;
    double m_max = 0;
    bool m_uflag = false;
    int m_displayUnit = 0;
    bool m_unitChosen = false;
};
