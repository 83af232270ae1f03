#pragma once

#include "items/SetupItem.h"

class QLineEdit;

// A 32-bit pattern shown as eight upper-case hexadecimal digits. Limits are kept but
// never applied. Leaving the field normalises what was typed.
class HexItem : public SetupItem
{
    Q_OBJECT
public:
    explicit HexItem(const ItemContext &context, QWidget *parent = nullptr);

    // Limits are taken as 32-bit patterns, so 4294967295 (FFFFFFFF) is -1.
    void set_all(const QString &s, const QString &t, qint64 minval, qint64 maxval);
    void set_limits(qint64 minval, qint64 maxval);
    void set_value(qint32 value);
    qint32 lower_limit() const { return m_min; }
    qint32 upper_limit() const { return m_max; }

    void ser_write() override;
    QString make_file_write_str() const override;
    void set_value_variant(const QVariant &value) override;
    QString value_text() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Shows a reply or file value unless it has more digits than 32 bits carry.
    void take(const QString &text) override;
    void normalise();
    qint32 field_value() const;

    QLineEdit *m_value;
    qint32 m_min = 0;
    qint32 m_max = 0;
};
