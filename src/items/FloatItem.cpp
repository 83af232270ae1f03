#include "items/FloatItem.h"

#include "model/LengthUnits.h"
#include "model/NumberText.h"
#include "link/ParameterLink.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include <cmath>

namespace {

// Items built without a shared unit model still convert with the standard factors.
const LengthUnits &fallbackUnits()
{
    static const LengthUnits units = [] {
        LengthUnits u;
        u.fill_factors();
        return u;
    }();
    return units;
}

} // namespace

FloatItem::FloatItem(const ItemContext &context, QWidget *parent)
    : SetupItem(context, parent)
    , m_value(new QLineEdit(QStringLiteral("0"), this))
    , m_unitsCombo(new QComboBox(this))
{
    m_value->setObjectName(QStringLiteral("ValueText"));
    m_unitsCombo->setObjectName(QStringLiteral("UnitsCombo"));
    m_unitsCombo->setEditable(false);
    {
        const QSignalBlocker quiet(m_unitsCombo);
        m_unitsCombo->addItems(LengthUnits::selectorTexts());
        m_unitsCombo->setCurrentIndex(0);
    }
    m_unitsCombo->setVisible(false);
    add_editor(m_value);
    add_editor(m_unitsCombo, tr("unit"));
    connect(m_value, &QLineEdit::textChanged, this, &SetupItem::changed);
    connect(m_unitsCombo, &QComboBox::currentIndexChanged, this, [this] { handle_selection(); });
    // Choosing the entry that is already selected is handled too (it re-formats).
    connect(m_unitsCombo, &QComboBox::activated, this, [this](int index) {
        if (index == m_displayUnit)
            handle_selection();
    });
    m_unitsCombo->installEventFilter(this);
}

void FloatItem::set_all(const QString &s, const QString &t, double minval, double maxval, bool uflag)
{
    set_serstring(s);
    set_title(t);
    set_limits(minval, maxval);
    set_units(uflag);
}

void FloatItem::set_limits(double minval, double maxval)
{
    if (minval < maxval) {
        m_min = minval;
        m_max = maxval;
    }
}

void FloatItem::set_units(bool uflag)
{
    m_uflag = uflag;
    if (!uflag) {
        m_unitsCombo->setVisible(false);
        return;
    }
    m_unitsCombo->setVisible(true);
    // The selection of "Inches" is handled whether or not it was already selected.
    select_unit_quietly(0);
    handle_selection();
}

int FloatItem::current_units() const
{
    const int u = m_ctx.units ? m_ctx.units->current_units() : 0;
    return LengthUnits::isValid(u) ? u : 0; // no unit selected: inches
}

int FloatItem::shown_unit() const
{
    return m_unitChosen ? m_displayUnit : current_units();
}

float FloatItem::convert(double value, int from, int to) const
{
    const LengthUnits &units = m_ctx.units ? *m_ctx.units : fallbackUnits();
    return units.convert_length(value, from, to);
}

double FloatItem::field_value() const
{
    return NumberText::leading_value(m_value->text());
}

void FloatItem::show_arriving(double value)
{
    if (!m_uflag) {
        m_value->setText(NumberText::display_double(value));
        return;
    }
    const int unit = shown_unit();
    m_value->setText(NumberText::display_single(convert(value, 0, unit)));
    // The field now speaks the shown unit: the selector and later writes follow it.
    if (unit != m_displayUnit) {
        select_unit_quietly(unit);
        m_displayUnit = unit;
    }
}

void FloatItem::take(const QString &text)
{
    double v = NumberText::leading_value(text);
    if (m_uflag)
        v = convert(v, current_units(), 0);
    if (within_limits(&v))
        show_arriving(v);
}

void FloatItem::set_value(double value)
{
    if (within_limits(&value))
        show_arriving(value);
}

// Lengths travel in single precision: a length at a limit can come back a little beyond
// it (0.00001 inch is 9.99999975E-06 as a single) and is still that limit, so it is taken
// and held to the limit instead of being refused.
bool FloatItem::within_limits(double *v) const
{
    if (!std::isfinite(*v))
        return false;
    const auto slack = [this](double limit) { return m_uflag ? std::abs(limit) * 6e-7 + 1e-12 : 0.0; };
    if (*v < m_min - slack(m_min) || *v > m_max + slack(m_max))
        return false;
    *v = qBound(m_min, *v, m_max);
    return true;
}

void FloatItem::handle_selection()
{
    const int n = m_unitsCombo->currentIndex();
    if (!LengthUnits::isValid(n))
        return;
    const float v = convert(field_value(), m_displayUnit, n);
    m_displayUnit = n;
    m_unitChosen = true;
    m_value->setText(NumberText::display_single(v));
}

void FloatItem::select_unit_quietly(int unit)
{
    const QSignalBlocker quiet(m_unitsCombo);
    m_unitsCombo->setCurrentIndex(unit);
}

void FloatItem::reset_units()
{
    m_unitChosen = false;
    if (!m_uflag)
        return;
    const int cu = current_units();
    if (m_unitsCombo->currentIndex() != cu)
        m_unitsCombo->setCurrentIndex(cu); // handled as a selection: re-expressed in cu
    const float v = convert(field_value(), m_displayUnit, cu);
    m_value->setText(NumberText::display_single(v));
    m_displayUnit = cu;
}

double FloatItem::outgoing(bool *single) const
{
    *single = m_uflag;
    if (!m_uflag)
        return field_value();
    return convert(field_value(), m_displayUnit, current_units());
}

void FloatItem::ser_write()
{
    bool single = false;
    const double v = outgoing(&single);
    send_write(single ? NumberText::wire_single(float(v)) : NumberText::wire_double(v));
}

QString FloatItem::make_file_write_str() const
{
    bool single = false;
    const double v = outgoing(&single);
    return get_serstring() + (single ? NumberText::file_single(float(v)) : NumberText::file_double(v));
}

void FloatItem::set_value_variant(const QVariant &value)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (ok)
        set_value(v);
}

QString FloatItem::value_text() const
{
    return m_value->text();
}

bool FloatItem::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the selector validates it: the field is re-expressed in the selected unit.
    if (watched == m_unitsCombo && event->type() == QEvent::FocusOut && m_uflag
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        handle_selection();
    return SetupItem::eventFilter(watched, event);
}
