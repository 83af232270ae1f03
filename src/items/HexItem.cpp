#include "items/HexItem.h"

#include "model/NumberText.h"
#include "link/ParameterLink.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace {

// What the field shows once it is left: trimmed, cut to its last eight characters.
qint32 typedValue(const QString &text)
{
    QString t = text.trimmed();
    if (t.size() > 8)
        t = t.right(8);
    return NumberText::hex_value(t);
}

} // namespace

HexItem::HexItem(const ItemContext &context, QWidget *parent)
    : SetupItem(context, parent)
    , m_value(new QLineEdit(QStringLiteral("0"), this))
{
    m_value->setObjectName(QStringLiteral("ValueText"));
    add_editor(m_value);
    connect(m_value, &QLineEdit::textChanged, this, &SetupItem::changed);
    m_value->installEventFilter(this);
}

void HexItem::set_all(const QString &s, const QString &t, qint64 minval, qint64 maxval)
{
    set_serstring(s);
    set_title(t);
    set_limits(minval, maxval);
}

void HexItem::set_limits(qint64 minval, qint64 maxval)
{
    const qint32 lo = qint32(quint32(quint64(minval)));
    const qint32 hi = qint32(quint32(quint64(maxval)));
    if (lo < hi) {
        m_min = lo;
        m_max = hi;
    }
}

void HexItem::set_value(qint32 value)
{
    m_value->setText(NumberText::padded_hex_text(value));
}

void HexItem::take(const QString &text)
{
    bool ok = false;
    const qint32 v = NumberText::hex_value(text, &ok);
    if (ok)
        set_value(v);
}

qint32 HexItem::field_value() const
{
    bool ok = false;
    const qint32 v = NumberText::hex_value(m_value->text(), &ok);
    // Typed digits beyond 32 bits not yet normalised: what leaving the field would show.
    return ok ? v : typedValue(m_value->text());
}

void HexItem::normalise()
{
    set_value(typedValue(m_value->text()));
}

void HexItem::ser_write()
{
    send_write(NumberText::hex_text(field_value()));
}

QString HexItem::make_file_write_str() const
{
    return get_serstring() + NumberText::hex_text(field_value());
}

void HexItem::set_value_variant(const QVariant &value)
{
    bool ok = false;
    const qint64 v = value.toLongLong(&ok);
    if (ok && v >= -2147483648LL && v <= 4294967295LL)
        set_value(qint32(quint32(quint64(v))));
}

QString HexItem::value_text() const
{
    return m_value->text();
}

bool HexItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_value && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        normalise();
    return SetupItem::eventFilter(watched, event);
}
