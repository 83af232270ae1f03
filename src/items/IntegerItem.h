// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "items/SetupItem.h"

class IntegerSetting;
class SpinArrows;

// The editor of a whole-number setting: a free text field with spin arrows that step
// within the setting's limits.
class IntegerItem : public SetupItem
{
    Q_OBJECT
public:
    explicit IntegerItem(IntegerSetting *setting, QWidget *parent = nullptr);

private:
    SpinArrows *m_upDown;
};
