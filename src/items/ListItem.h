// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "items/SetupItem.h"

class ListSetting;
class QComboBox;

// The editor of an enumerated setting: a drop-down list of its display texts that takes
// no typing. Picking a choice and leaving the list both go to the setting.
class ListItem : public SetupItem
{
    Q_OBJECT
public:
    explicit ListItem(ListSetting *setting, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    void showChoice();

    ListSetting *m_list;
    QComboBox *m_combo;
};
