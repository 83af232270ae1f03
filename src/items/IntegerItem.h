#pragma once

#include "items/SetupItem.h"

class QLineEdit;
class SpinArrows;

// A whole-number parameter within signed 16-bit limits: a free text field with spin
// arrows. Replies and file values are rounded (halves to even) and shown only within the
// limits; writes and file lines carry whatever number the field's text starts with.
class IntegerItem : public SetupItem
{
    Q_OBJECT
public:
    explicit IntegerItem(const ItemContext &context, QWidget *parent = nullptr);

    void set_all(const QString &s, const QString &t, qint16 minval, qint16 maxval);
    void set_limits(qint16 minval, qint16 maxval);
    void set_value(qint16 value);
    qint16 lower_limit() const { return m_min; }
    qint16 upper_limit() const { return m_max; }

    void ser_write() override;
    QString make_file_write_str() const override;
    void set_value_variant(const QVariant &value) override;
    QString value_text() const override;

private:
    // Shows a reply or file value when it rounds to a 16-bit number within the limits.
    void take(const QString &text) override;

    QLineEdit *m_value;
    SpinArrows *m_upDown;
    qint16 m_min = 0;
    qint16 m_max = 0;
};
