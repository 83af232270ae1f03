// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/FloatSetting.h"

#include "model/LengthUnits.h"
#include "model/NumberText.h"

#include <cmath>
#include <limits>

namespace {

// Settings built without a shared unit model still convert with the standard factors.
const LengthUnits &standardUnits()
{
    static const LengthUnits units;
    return units;
}

} // namespace

void FloatSetting::set_all(const QString &s, const QString &t, double minval, double maxval, bool uflag)
{
    set_serstring(s);
    set_title(t);
    set_limits(minval, maxval);
    set_units(uflag);
}

void FloatSetting::set_limits(double minval, double maxval)
{
    if (minval < maxval) {
        m_min = minval;
        m_max = maxval;
    }
}

void FloatSetting::set_units(bool uflag)
{
    m_uflag = uflag;
    emit unitsChanged();
    if (uflag)
        select_unit(0);
}

int FloatSetting::current_units() const
{
    const int u = context().units ? context().units->current_units() : 0;
    return LengthUnits::isValid(u) ? u : 0; // no unit selected: inches
}

float FloatSetting::convert(double value, int from, int to) const
{
    const LengthUnits &units = context().units ? *context().units : standardUnits();
    return units.convert_length(value, from, to);
}

double FloatSetting::field_value() const
{
    return NumberText::leading_value(text());
}

double FloatSetting::value() const
{
    return m_uflag ? convert(field_value(), m_displayUnit, 0) : field_value();
}

void FloatSetting::show_unit(int unit, float value)
{
    const bool moved = unit != m_displayUnit;
    m_displayUnit = unit;
    if (!show_text(NumberText::display_single(value)) && moved)
        emit displayChanged();
}

void FloatSetting::show_arriving(double value)
{
    if (!m_uflag) {
        show_text(NumberText::display_double(value));
        return;
    }
    // Shown in the chosen unit, else in the device's; the display unit follows, so later
    // writes convert from the unit the text is in.
    const int unit = m_unitChosen ? m_displayUnit : current_units();
    show_unit(unit, convert(value, 0, unit));
}

bool FloatSetting::take(const QString &text)
{
    double v = NumberText::leading_value(text);
    if (m_uflag)
        v = convert(v, current_units(), 0);
    if (!within_limits(&v))
        return false;
    show_arriving(v);
    return true;
}

void FloatSetting::set_value(double value)
{
    if (within_limits(&value))
        show_arriving(value);
}

// A length crosses the wire and files in single precision, so a length at a limit can
// come back one single-precision step beyond it (0.00001 inch is 9.99999975E-06 as a
// single); that is still the limit and is held to it. Anything further out is refused.
bool FloatSetting::within_limits(double *v) const
{
    if (!std::isfinite(*v))
        return false;
    if (m_uflag) {
        constexpr float inf = std::numeric_limits<float>::infinity();
        const float f = NumberText::to_single(*v);
        if (f < std::nextafter(NumberText::to_single(m_min), -inf) || f > std::nextafter(NumberText::to_single(m_max), inf))
            return false;
    } else if (*v < m_min || *v > m_max) {
        return false;
    }
    *v = qBound(m_min, *v, m_max);
    return true;
}

void FloatSetting::select_unit(int n)
{
    if (!LengthUnits::isValid(n))
        return;
    const float v = convert(field_value(), m_displayUnit, n);
    m_unitChosen = true;
    show_unit(n, v);
}

void FloatSetting::reset_units()
{
    m_unitChosen = false;
    if (!m_uflag)
        return;
    const int cu = current_units();
    if (m_displayUnit != cu)
        select_unit(cu); // handled as a selection: chosen again, as the selector's own rule does
    show_unit(cu, convert(field_value(), m_displayUnit, cu));
}

double FloatSetting::outgoing() const
{
    return m_uflag ? convert(field_value(), m_displayUnit, current_units()) : field_value();
}

QString FloatSetting::wire_value() const
{
    const double v = outgoing();
    return m_uflag ? NumberText::wire_single(float(v)) : NumberText::wire_double(v);
}

QString FloatSetting::file_value() const
{
    const double v = outgoing();
    return m_uflag ? NumberText::file_single(float(v)) : NumberText::file_double(v);
}

bool FloatSetting::same_value(const Setting &other) const
{
    const auto *f = qobject_cast<const FloatSetting *>(&other);
    if (!f)
        return false;
    const double a = value(), b = f->value();
    // A length crosses a 7-digit text and single-precision conversions; a plain number
    // travels with 15 digits.
    const double relative = m_uflag ? 1.2e-6 : 1e-14;
    return std::fabs(a - b) <= relative * std::fmax(std::fabs(a), std::fabs(b));
}

QString FloatSetting::shown_as_mine(const Setting &other) const
{
    const auto *f = qobject_cast<const FloatSetting *>(&other);
    if (!f)
        return other.value_text();
    if (!m_uflag)
        return NumberText::display_double(f->value());
    return NumberText::display_single(convert(f->value(), 0, m_displayUnit));
}

void FloatSetting::set_default(const QVariant &value)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (ok)
        set_value(v);
}

bool FloatSetting::adopt(const Setting &other)
{
    const auto *f = qobject_cast<const FloatSetting *>(&other);
    double v = f ? f->value() : 0.0;
    if (!f || !within_limits(&v))
        return false;
    show_arriving(v);
    return true;
}
