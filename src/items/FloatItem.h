#pragma once

#include "items/SetupItem.h"

class QComboBox;
class QLineEdit;

// A real-valued parameter. A length (units flag set) shows a unit selector: the field
// holds the value in the display unit, the device and files carry it in current_units,
// and the limits are in inches. Lengths travel in single precision.
class FloatItem : public SetupItem
{
    Q_OBJECT
public:
    explicit FloatItem(const ItemContext &context, QWidget *parent = nullptr);

    void set_all(const QString &s, const QString &t, double minval, double maxval, bool uflag);
    void set_limits(double minval, double maxval);
    void set_units(bool uflag);
    void set_value(double value); // in inches for an item with units
    double lower_limit() const { return m_min; }
    double upper_limit() const { return m_max; }
    bool has_units() const { return m_uflag; }
    int display_unit() const { return m_displayUnit; }
    bool unit_chosen() const { return m_unitChosen; }

    void ser_write() override;
    QString make_file_write_str() const override;
    void reset_units() override;
    void set_value_variant(const QVariant &value) override;
    QString value_text() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool within_limits(double *v) const;
    int current_units() const;
    int shown_unit() const;
    float convert(double value, int from, int to) const;
    double field_value() const;
    // The number that writes and file lines carry, in current_units for a length.
    double outgoing(bool *single) const;
    // A reply or file value, in current_units for a length: shown when within limits.
    void take(const QString &text) override;
    // Shows a value in inches (a length) or a plain number, in the shown unit.
    void show_arriving(double value);
    void handle_selection();
    void select_unit_quietly(int unit);

    QLineEdit *m_value;
    QComboBox *m_unitsCombo;
    double m_min = 0;
    double m_max = 0;
    bool m_uflag = false;
    int m_displayUnit = 0;
    bool m_unitChosen = false;
};
