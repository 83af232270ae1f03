// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "items/SetupItem.h"

class FloatSetting;
class QComboBox;

// The editor of a real-valued setting: a free text field and, for a length, a unit
// selector. Picking a unit, picking the one already shown and leaving the selector all
// re-express the value in the selected unit.
class FloatItem : public SetupItem
{
    Q_OBJECT
public:
    explicit FloatItem(FloatSetting *setting, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showUnit();

    FloatSetting *m_float;
    QComboBox *m_unitsCombo;
};
