#include "items/IntegerItem.h"

#include "model/NumberText.h"
#include "items/SpinArrows.h"
#include "link/ParameterLink.h"

#include <QLineEdit>

IntegerItem::IntegerItem(const ItemContext &context, QWidget *parent)
    : SetupItem(context, parent)
    , m_value(new QLineEdit(QStringLiteral("0"), this))
    , m_upDown(new SpinArrows(m_value, this))
{
    m_value->setObjectName(QStringLiteral("ValueText"));
    m_upDown->setObjectName(QStringLiteral("UpDown"));
    add_editor(m_value);
    add_editor(m_upDown, tr("step"));
    m_upDown->setRange(m_min, m_max);
    connect(m_value, &QLineEdit::textChanged, this, &SetupItem::changed);
}

void IntegerItem::set_all(const QString &s, const QString &t, qint16 minval, qint16 maxval)
{
    set_serstring(s);
    set_title(t);
    set_limits(minval, maxval);
}

void IntegerItem::set_limits(qint16 minval, qint16 maxval)
{
    if (minval < maxval) {
        m_min = minval;
        m_max = maxval;
    }
    m_upDown->setRange(m_min, m_max);
}

void IntegerItem::set_value(qint16 value)
{
    if (value >= m_min && value <= m_max)
        m_value->setText(QString::number(value));
}

void IntegerItem::take(const QString &text)
{
    bool ok = false;
    const qint16 v = NumberText::round_int16(NumberText::leading_value(text), &ok);
    if (ok)
        set_value(v);
}

void IntegerItem::ser_write()
{
    send_write(NumberText::wire_double(NumberText::leading_value(m_value->text())));
}

QString IntegerItem::make_file_write_str() const
{
    return get_serstring() + NumberText::file_double(NumberText::leading_value(m_value->text()));
}

void IntegerItem::set_value_variant(const QVariant &value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (ok && v >= -32768 && v <= 32767)
        set_value(qint16(v));
}

QString IntegerItem::value_text() const
{
    return m_value->text();
}
