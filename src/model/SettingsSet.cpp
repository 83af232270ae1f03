// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SettingsSet.h"

#include "model/FactoryDefaults.h"
#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/IntegerSetting.h"
#include "model/ListSetting.h"

#include <QHash>

using ParameterTable::Kind;
using ParameterTable::Parameter;

namespace {

Setting *create(Kind kind, const SettingContext &context, QObject *parent)
{
    switch (kind) {
    case Kind::Integer:
        return new IntegerSetting(context, parent);
    case Kind::Float:
        return new FloatSetting(context, parent);
    case Kind::List:
        return new ListSetting(context, parent);
    case Kind::Hex:
        return new HexSetting(context, parent);
    }
    return nullptr;
}

void configure(Setting *setting, const Parameter &p)
{
    setting->setParameter(&p);
    switch (p.kind) {
    case Kind::Integer:
        static_cast<IntegerSetting *>(setting)->set_all(p.code, p.title, qint16(p.min), qint16(p.max));
        break;
    case Kind::Float:
        static_cast<FloatSetting *>(setting)->set_all(p.code, p.title, p.min, p.max, p.units);
        break;
    case Kind::Hex:
        static_cast<HexSetting *>(setting)->set_all(p.code, p.title, qint64(p.min), qint64(p.max));
        break;
    case Kind::List: {
        auto *list = static_cast<ListSetting *>(setting);
        list->set_all(p.code, p.title);
        for (const ParameterTable::Choice &c : p.choices)
            list->add_item(c.display, c.token);
        break;
    }
    }
}

} // namespace

SettingsSet::SettingsSet(ParameterLink *link, QObject *parent) : QObject(parent)
{
    const SettingContext context{link, &m_units};
    QHash<QString, Setting *> byName;
    for (const Parameter &p : ParameterTable::creationOrder()) {
        m_items.append(create(p.kind, context, this));
        byName.insert(p.name(), m_items.last());
    }
    // Configured in the catalogue's own order, as the window configures its editors.
    for (const Parameter &p : ParameterTable::parameters())
        if (Setting *s = byName.value(p.name()))
            configure(s, p);
    for (Setting *s : std::as_const(m_items))
        m_byCode.insert(s->get_serstring(), s);
}

Setting *SettingsSet::byCode(const QString &code) const
{
    return m_byCode.value(code);
}

Setting *SettingsSet::byControl(const QString &control, int index) const
{
    for (Setting *s : m_items)
        if (s->parameter() && s->parameter()->control == control && s->parameter()->index == index)
            return s;
    return nullptr;
}

ListSetting *SettingsSet::unitsItem() const
{
    return static_cast<ListSetting *>(byCode(QStringLiteral("PU")));
}

ListSetting *SettingsSet::ttypeItem() const
{
    return static_cast<ListSetting *>(byCode(QStringLiteral("XT")));
}

void SettingsSet::refreshCurrentUnits()
{
    m_units.setCurrentUnits(unitsItem()->getindex());
}

void SettingsSet::applyFactoryDefaults()
{
    for (const FactoryDefaults::Default &d : FactoryDefaults::defaults())
        if (Setting *s = byControl(d.control, d.index))
            s->setDefault(d.value);
}
