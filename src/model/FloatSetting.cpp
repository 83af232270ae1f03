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
    m_exact = uflag ? NumberText::toSingle(m_exact) : m_exact;
    m_exactUnit = m_displayUnit;
    emit unitsChanged();
    if (uflag)
        selectUnit(0);
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

float FloatSetting::inUnit(int n) const
{
    return convert(m_exact, m_exactUnit, n);
}

double FloatSetting::value() const
{
    return m_uflag ? double(inUnit(0)) : m_exact;
}

QString FloatSetting::textIn(int n) const
{
    return m_uflag && LengthUnits::isValid(n) ? NumberText::displaySingle(inUnit(n)) : text();
}

void FloatSetting::hold(double value)
{
    m_exact = value;
    showText(NumberText::displayDouble(value));
}

void FloatSetting::showUnit(int unit, float value)
{
    const bool moved = unit != m_displayUnit;
    m_displayUnit = unit;
    if (!showText(NumberText::displaySingle(value)) && moved)
        emit displayChanged();
}

void FloatSetting::arrive(float value, int unit)
{
    m_exact = value;
    m_exactUnit = unit;
    // Shown in the chosen unit, else in the device's.
    const int shown = m_unitChosen ? m_displayUnit : current_units();
    showUnit(shown, inUnit(shown));
}

bool FloatSetting::isValue(const QString &reply) const
{
    return NumberText::hasLeadingNumber(reply);
}

bool FloatSetting::take(const QString &text)
{
    const double v = NumberText::leadingValue(text);
    if (!m_uflag) {
        double checked = v;
        if (!withinLimits(&checked))
            return false;
        hold(checked);
        return true;
    }
    const int unit = current_units();
    double inches = convert(v, unit, 0);
    if (!withinLimits(&inches))
        return false;
    arrive(NumberText::toSingle(v), unit);
    return true;
}

void FloatSetting::set_value(double value)
{
    if (!withinLimits(&value))
        return;
    if (m_uflag)
        arrive(NumberText::toSingle(value), 0);
    else
        hold(value);
}

void FloatSetting::editText(const QString &text)
{
    const double v = NumberText::leadingValue(text);
    m_exact = m_uflag ? double(NumberText::toSingle(v)) : v;
    m_exactUnit = m_displayUnit;
    editTo(text);
}

// A length crosses the wire and files in single precision, so a length at a limit can
// come back one single-precision step beyond it (0.00001 inch is 9.99999975E-06 as a
// single); that is still the limit and is held to it. Anything further out is refused.
bool FloatSetting::withinLimits(double *v) const
{
    if (!std::isfinite(*v))
        return false;
    if (m_uflag) {
        constexpr float inf = std::numeric_limits<float>::infinity();
        const float f = NumberText::toSingle(*v);
        if (f < std::nextafter(NumberText::toSingle(m_min), -inf) || f > std::nextafter(NumberText::toSingle(m_max), inf))
            return false;
    } else if (*v < m_min || *v > m_max) {
        return false;
    }
    *v = qBound(m_min, *v, m_max);
    return true;
}

void FloatSetting::selectUnit(int n)
{
    if (!LengthUnits::isValid(n))
        return;
    m_unitChosen = true;
    showUnit(n, inUnit(n));
}

void FloatSetting::reset_units()
{
    m_unitChosen = false;
    if (!m_uflag)
        return;
    const int cu = current_units();
    if (m_displayUnit != cu)
        selectUnit(cu); // handled as a selection: chosen again, as the selector's own rule does
    showUnit(cu, inUnit(cu));
}

double FloatSetting::outgoing(int units) const
{
    return m_uflag ? double(inUnit(LengthUnits::isValid(units) ? units : 0)) : m_exact;
}

QString FloatSetting::wireValueIn(int units) const
{
    const double v = outgoing(units);
    return m_uflag ? NumberText::wireSingle(float(v)) : NumberText::wireDouble(v);
}

QString FloatSetting::wireValue() const
{
    return wireValueIn(current_units());
}

QString FloatSetting::fileValue() const
{
    const double v = outgoing(current_units());
    return m_uflag ? NumberText::fileSingle(float(v)) : NumberText::fileDouble(v);
}

void FloatSetting::setDefault(const QVariant &value)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (ok)
        set_value(v);
}

bool FloatSetting::adopt(const Setting &other)
{
    const auto *f = qobject_cast<const FloatSetting *>(&other);
    if (!f || f->m_uflag != m_uflag)
        return false;
    double v = f->value();
    if (!withinLimits(&v))
        return false;
    if (m_uflag)
        arrive(float(f->m_exact), f->m_exactUnit);
    else
        hold(v);
    return true;
}
