// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "items/SetupItem.h"

class HexSetting;
class QLineEdit;

// The editor of a 32-bit pattern: a text field normalised to eight hexadecimal digits
// when the user leaves it.
class HexItem : public SetupItem
{
    Q_OBJECT
public:
    explicit HexItem(HexSetting *setting, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HexSetting *m_hex;
    QLineEdit *m_value;
};
