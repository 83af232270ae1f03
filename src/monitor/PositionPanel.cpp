// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monitor/PositionPanel.h"

#include "monitor/MagPosnDisp.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int Rows = 5;
}

PositionPanel::PositionPanel(QWidget *parent)
    : QWidget(parent)
    , m_dispPosn(new QLabel(QStringLiteral("0.0000"), this))
{
    setObjectName(QStringLiteral("PositionPanel"));

    auto *caption = new QLabel(QStringLiteral("Displayed Position:"), this);
    caption->setObjectName(QStringLiteral("DispPosnCaption"));
    m_dispPosn->setObjectName(QStringLiteral("DispPosnLabel"));
    QFont big = m_dispPosn->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    m_dispPosn->setFont(big);
    m_dispPosn->setMinimumWidth(QFontMetrics(big).horizontalAdvance(QStringLiteral("-1234.1234")));

    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(caption);
    left->addWidget(m_dispPosn);
    left->addStretch(1);

    auto *frame = new QGroupBox(QStringLiteral("Magnet Positions"), this);
    frame->setObjectName(QStringLiteral("MagPosnFrame"));
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    for (int i = 0; i < MagnetCount; ++i) {
        auto *disp = new MagPosnDisp(frame);
        disp->setObjectName(QStringLiteral("MagPosn(%1)").arg(i));
        // Down the columns: magnets 1 to 5 in the first one.
        grid->addWidget(disp, i % Rows, i / Rows);
        m_displays.append(disp);
    }

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    layout->addWidget(frame, 1);
}

QLabel *PositionPanel::dispPosnLabel() const
{
    return m_dispPosn;
}

QList<MagPosnDisp *> PositionPanel::displays() const
{
    return m_displays;
}
