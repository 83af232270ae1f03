#include "items/ListItem.h"

#include "link/ParameterLink.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QSignalBlocker>

ListItem::ListItem(const ItemContext &context, QWidget *parent)
    : SetupItem(context, parent)
    , m_list(new QComboBox(this))
{
    m_list->setObjectName(QStringLiteral("ListCombo"));
    m_list->setEditable(false);
    add_editor(m_list);
    init_list();
    connect(m_list, &QComboBox::currentIndexChanged, this, [this] { selection_change(); });
    m_list->installEventFilter(this);
}

void ListItem::set_all(const QString &s, const QString &t)
{
    set_serstring(s);
    set_title(t);
}

void ListItem::init_list()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    m_tokens.clear();
}

void ListItem::add_item(const QString &display, const QString &token)
{
    if (m_list->count() >= MaxChoices)
        return;
    {
        const QSignalBlocker quiet(m_list);
        m_tokens.append(token);
        m_list->addItem(display);
    }
    select(0);
}

int ListItem::getindex() const
{
    return m_list->currentIndex();
}

QString ListItem::token(int index) const
{
    return index >= 0 && index < m_tokens.size() ? m_tokens.at(index) : QString();
}

int ListItem::count() const
{
    return m_list->count();
}

void ListItem::set_value(const QString &token)
{
    match(token);
}

bool ListItem::match(const QString &text)
{
    const int n = qMin(m_list->count(), int(m_tokens.size()));
    for (int i = 0; i < n; ++i) {
        if (m_tokens.at(i) == text) {
            select(i);
            return true;
        }
    }
    return false;
}

void ListItem::select(int index)
{
    {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentIndex(index);
    }
    selection_change();
}

void ListItem::selection_change()
{
    emit changed();
    emit selectionChanged();
}

void ListItem::ser_write()
{
    const int i = getindex();
    // Without a selected entry there is no token to send.
    if (i < 0 || i >= m_tokens.size())
        return;
    send_write(m_tokens.at(i));
}

QString ListItem::make_file_write_str() const
{
    const int i = getindex();
    if (i < 0 || i >= m_tokens.size())
        return QString();
    return get_serstring() + m_tokens.at(i);
}

void ListItem::set_value_variant(const QVariant &value)
{
    set_value(value.toString());
}

QString ListItem::value_text() const
{
    return m_list->currentText();
}

bool ListItem::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the list validates it, which counts as a selection change.
    if (watched == m_list && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        selection_change();
    return SetupItem::eventFilter(watched, event);
}
