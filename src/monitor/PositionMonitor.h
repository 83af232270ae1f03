// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/PositionReading.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QLabel;
class MagPosnDisp;
class PositionPoll;
class SerialForm;

// The window's position read-outs: runs the position poll over the link and shows each
// reading in the displayed-position label and the 15 magnet displays. The magnet menu
// entry's check mark says whether magnets are polled.
class PositionMonitor : public QObject
{
    Q_OBJECT
public:
    PositionMonitor(SerialForm *link, QLabel *dispPosnLabel, const QList<MagPosnDisp *> &displays,
                    QAction *magPosnMenu, QObject *parent = nullptr);

    // Names the displays "Magnet 1:" to "Magnet 15:" and blanks their values.
    void startDisplays();

    // The poll the window's position timer drives; the trend listens to it too.
    PositionPoll *poll() const;

public slots:
    void showReading(const PositionReading &reading);
    // After the menu entry has toggled: unchecked blanks every magnet display.
    void menuClicked();

private:
    void showDisplayedPosition(const PositionReading &reading);
    void showMagnet(const PositionReading &reading);
    void setErrorFrom(int index, const QString &text);

    PositionPoll *m_poll;
    QPointer<QLabel> m_dispPosn;
    QList<QPointer<MagPosnDisp>> m_displays;
};
