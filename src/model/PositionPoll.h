// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/PositionReading.h"

#include <QObject>
#include <QPointer>

class SerialForm;

// The position poll: one short read per tick, first the displayed position, then (while
// magnets are wanted) one magnet per tick until magnet 15 or the device says there are no
// more. Each tick hands on what it read as a PositionReading; showing it is left to
// whoever listens, so the window and a command-line monitor poll alike.
class PositionPoll : public QObject
{
    Q_OBJECT
public:
    explicit PositionPoll(SerialForm *link, QObject *parent = nullptr);

    // 0: the next tick reads the displayed position; k: it reads magnet k.
    int magnet_poll() const;

    bool magnetsWanted() const;

    static QString displayCommand(qint16 node);
    static QString magnetCommand(qint16 node, int magnet);

public slots:
    void tick();
    void setMagnetsWanted(bool wanted);

signals:
    // Every tick that was not skipped: a read of the displayed position or of one magnet,
    // or, with no connection, a displayed position of NotConnected without any exchange.
    void read(const PositionReading &reading);

private:
    QPointer<SerialForm> m_link;
    qint16 m_magnetPoll = 0;
    bool m_magnetsWanted = false;
    bool m_inTick = false;
};
