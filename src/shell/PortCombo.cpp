// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/PortCombo.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

void PortCombo::showPopup()
{
    emit aboutToShowPopup();
    QComboBox::showPopup();
}

void PortCombo::paintEvent(QPaintEvent *event)
{
    if (currentIndex() >= 0 || placeholderText().isEmpty()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
    option.currentText = fontMetrics().elidedText(placeholderText(), Qt::ElideRight, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
