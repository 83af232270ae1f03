// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "items/SetupItem.h"

#include "model/Setting.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

SetupItem::SetupItem(Setting *setting, QWidget *parent)
    : QWidget(parent)
    , m_setting(setting)
    , m_mark(new QWidget(this))
    , m_titleLabel(new QLabel(setting->title(), this))
    , m_layout(new QHBoxLayout(this))
{
    m_mark->setObjectName(QStringLiteral("ChangeMark"));
    m_mark->setFixedWidth(4);
    // Blue of about a third of white's brightness: far from the window's grey and from the
    // red of the tab captions, also when printed or seen without colour.
    QPalette pal = m_mark->palette();
    pal.setColor(QPalette::Window, QColor(0, 84, 180));
    m_mark->setPalette(pal);
    m_titleLabel->setObjectName(QStringLiteral("TitleLabel"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_mark);
    m_layout->addWidget(m_titleLabel, 1);
}

QString SetupItem::get_serstring() const
{
    return m_setting->get_serstring();
}

QString SetupItem::title() const
{
    return m_setting->title();
}

QString SetupItem::valueText() const
{
    return m_setting->valueText();
}

void SetupItem::setAssistiveName(const QString &name)
{
    m_accessibleName = name;
    refreshNames();
}

QString SetupItem::assistiveName() const
{
    if (!m_accessibleName.isEmpty())
        return m_accessibleName;
    QString name = title();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

void SetupItem::addEditor(QWidget *editor, const QString &role)
{
    m_editors.append({editor, role});
    m_layout->addWidget(editor);
    editor->setToolTip(get_serstring());
    if (m_editors.size() == 1)
        m_titleLabel->setBuddy(editor);
    refreshNames();
    applyLook();
}

QLineEdit *SetupItem::addValueField(const std::function<void(const QString &)> &edit)
{
    auto *field = new QLineEdit(m_setting->valueText(), this);
    field->setObjectName(QStringLiteral("ValueText"));
    addEditor(field);
    connect(field, &QLineEdit::textChanged, this, [this, edit](const QString &text) {
        if (text != m_setting->valueText())
            edit(text);
    });
    connect(m_setting, &Setting::displayChanged, field, [this, field] {
        // Only a new text is set, so the caret stays where the user is typing.
        if (field->text() != m_setting->valueText())
            field->setText(m_setting->valueText());
    });
    return field;
}

void SetupItem::enable(bool on)
{
    // Asked again for every list value that arrives: a palette set anew repaints the
    // item's widgets and relays them out for nothing.
    if (on == m_enabledLook)
        return;
    m_enabledLook = on;
    applyLook();
}

void SetupItem::applyLook()
{
    const bool on = m_enabledLook;
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

void SetupItem::setChangedMark(bool on)
{
    if (on == m_marked)
        return;
    m_marked = on;
    // Space is kept either way, so nothing moves when a mark comes or goes.
    m_mark->setAutoFillBackground(on);
    m_mark->setAccessibleName(on ? QStringLiteral("changed") : QString());
    m_mark->setToolTip(on ? tr("Changed since the last upload, download or settings file") : QString());
    m_mark->update();
    for (const auto &e : std::as_const(m_editors))
        e.first->setAccessibleDescription(on ? QStringLiteral("changed") : QString());
}

void SetupItem::focusEditor()
{
    if (m_editors.isEmpty())
        return;
    window()->activateWindow();
    m_editors.first().first->setFocus(Qt::OtherFocusReason);
}

void SetupItem::refreshNames()
{
    const QString name = assistiveName();
    for (const auto &e : std::as_const(m_editors)) {
        if (e.second.isEmpty() || name.isEmpty())
            e.first->setAccessibleName(e.second.isEmpty() ? name : e.second);
        else
            e.first->setAccessibleName(name + QLatin1Char(' ') + e.second);
    }
}
