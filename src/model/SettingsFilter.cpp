// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SettingsFilter.h"

#include "model/SettingsTableModel.h"

using Model = SettingsTableModel;

SettingsFilter::SettingsFilter(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(Model::SortRole);
    setDynamicSortFilter(true);
}

void SettingsFilter::setSearch(const QString &text)
{
    const QString search = text.trimmed();
    if (search == m_search)
        return;
    m_search = search;
    invalidateRowsFilter();
}

void SettingsFilter::setEditedOnly(bool on)
{
    if (on == m_editedOnly)
        return;
    m_editedOnly = on;
    invalidateRowsFilter();
}

void SettingsFilter::setNotFactoryOnly(bool on)
{
    if (on == m_notFactoryOnly)
        return;
    m_notFactoryOnly = on;
    invalidateRowsFilter();
}

bool SettingsFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const auto at = [&](int column, int role) { return sourceModel()->index(sourceRow, column, sourceParent).data(role); };
    if (m_editedOnly && !at(Model::Edited, Model::SortRole).toBool())
        return false;
    if (m_notFactoryOnly && !at(Model::NotFactory, Model::SortRole).toBool())
        return false;
    return m_search.isEmpty() || at(Model::Code, Model::SearchRole).toString().contains(m_search, Qt::CaseInsensitive);
}

bool SettingsFilter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    const bool an = a.typeId() != QMetaType::QString;
    const bool bn = b.typeId() != QMetaType::QString;
    if (an != bn)
        return an; // numbers before texts
    if (an)
        return a.toDouble() < b.toDouble();
    return a.toString().compare(b.toString(), Qt::CaseInsensitive) < 0;
}
