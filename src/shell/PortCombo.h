// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QComboBox>

// The port selector: says when it is about to open its list, so the list can be brought
// up to date first, and shows its placeholder cut short with an ellipsis where the narrow
// window leaves it too little room.
class PortCombo : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void aboutToShowPopup();

protected:
    void paintEvent(QPaintEvent *event) override;
};
