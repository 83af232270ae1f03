// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSortFilterProxyModel>

// The rows of a SettingsTableModel that a search and two toggles let through, sorted by
// any column: numbers as numbers, texts without regard to case, ties in the tabs' order.
// The search looks for its text, case aside, in the code, title, tab and value; "Edited
// only" keeps the rows edited since the last walk, "Not factory" those that differ from
// the factory value. A row whose marks change comes and goes at once.
class SettingsFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit SettingsFilter(QObject *parent = nullptr);

public slots:
    void setSearch(const QString &text);
    void setEditedOnly(bool on);
    void setNotFactoryOnly(bool on);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QString m_search;
    bool m_editedOnly = false;
    bool m_notFactoryOnly = false;
};
