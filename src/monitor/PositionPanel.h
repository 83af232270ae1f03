// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class MagPosnDisp;

// The displayed position and the "Magnet Positions" frame with its 15 displays,
// laid out in three columns of five.
class PositionPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MagnetCount = 15;

    explicit PositionPanel(QWidget *parent = nullptr);

    QLabel *dispPosnLabel() const;
    QList<MagPosnDisp *> displays() const;

private:
    QLabel *m_dispPosn;
    QList<MagPosnDisp *> m_displays;
};
