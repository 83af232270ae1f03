#include "items/SetupItem.h"

#include "link/ParameterLink.h"

#include "transfer/ItemTrack.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>

SetupItem::SetupItem(const ItemContext &context, QWidget *parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_titleLabel(new QLabel(QStringLiteral("Title:"), this))
    , m_layout(new QHBoxLayout(this))
{
    m_titleLabel->setObjectName(QStringLiteral("TitleLabel"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_titleLabel, 1);
    if (m_ctx.track)
        m_ctx.track->register_item(this);
}

SetupItem::~SetupItem() = default;

void SetupItem::set_serstring(const QString &s)
{
    m_code = s;
    for (const auto &e : std::as_const(m_editors))
        e.first->setToolTip(m_code);
}

QString SetupItem::get_serstring() const
{
    return m_code;
}

void SetupItem::set_title(const QString &t)
{
    m_title = t + QLatin1Char(':');
    m_titleLabel->setText(m_title);
    refresh_names();
}

QString SetupItem::title() const
{
    return m_title;
}

void SetupItem::set_accessible_name(const QString &name)
{
    m_accessibleName = name;
    refresh_names();
}

QString SetupItem::accessible_name() const
{
    if (!m_accessibleName.isEmpty())
        return m_accessibleName;
    QString name = m_title;
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

bool SetupItem::line_value(const QString &line, QString *value) const
{
    // An item not yet given a code owns no line.
    if (m_code.isEmpty() || !line.startsWith(m_code, Qt::CaseSensitive))
        return false;
    if (value)
        *value = line.mid(m_code.size());
    return true;
}

QLabel *SetupItem::titleLabel() const
{
    return m_titleLabel;
}

void SetupItem::add_editor(QWidget *editor, const QString &role)
{
    m_editors.append({editor, role});
    m_layout->addWidget(editor);
    editor->setToolTip(m_code);
    if (m_editors.size() == 1)
        m_titleLabel->setBuddy(editor);
    refresh_names();
    apply_enabled_look(m_enabledLook);
}

void SetupItem::apply_enabled_look(bool on)
{
    m_enabledLook = on;
    QList<QWidget *> widgets{m_titleLabel};
    for (const auto &e : std::as_const(m_editors))
        widgets.append(e.first);
    static const QPalette::ColorRole roles[] = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText};
    for (QWidget *w : widgets) {
        // An empty palette inherits everything: the normal colours of the style.
        w->setPalette(QPalette());
        if (on)
            continue;
        QPalette pal = w->palette();
        for (const QPalette::ColorRole role : roles) {
            const QColor grey = pal.color(QPalette::Disabled, role);
            pal.setColor(QPalette::Active, role, grey);
            pal.setColor(QPalette::Inactive, role, grey);
        }
        w->setPalette(pal);
    }
}

void SetupItem::refresh_names()
{
    const QString name = accessible_name();
    for (const auto &e : std::as_const(m_editors)) {
        if (e.second.isEmpty() || name.isEmpty())
            e.first->setAccessibleName(e.second.isEmpty() ? name : e.second);
        else
            e.first->setAccessibleName(name + QLatin1Char(' ') + e.second);
    }
}

void SetupItem::ser_read()
{
    QString reply;
    if (read_reply(&reply))
        take(reply);
}

bool SetupItem::check_file_read(const QString &s)
{
    QString value;
    const bool mine = line_value(s, &value);
    if (mine)
        take(value);
    emit changed();
    return mine;
}

bool SetupItem::read_reply(QString *payload) const
{
    if (!m_ctx.link || !m_ctx.link->sendrcv_nodeid(QStringLiteral("R") + m_code, false))
        return false;
    *payload = m_ctx.link->rcvstring();
    return true;
}

void SetupItem::send_write(const QString &valueText) const
{
    if (!m_ctx.link)
        return;
    m_ctx.link->write_enable(true);
    m_ctx.link->sendrcv_nodeid(QStringLiteral("S") + m_code + valueText, false);
}
