// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/PositionReading.h"

#include <QObject>
#include <QPointer>
#include <QProperty>

class QTimer;
class SerialForm;

// The position poll: one short read per tick, first the displayed position, then (while
// magnets are wanted) one magnet per tick until magnet 15 or the device says there are no
// more. Each tick hands on what it read as a PositionReading; showing it is left to
// whoever listens, so the window and a command-line monitor poll alike.
//
// It also follows the device's length unit, in which the positions come, from the
// exchanges on the link: a read or an accepted write of "PU" sets it; an identification
// (every connection makes one) or an accepted factory reset makes it unknown.
class PositionPoll : public QObject
{
    Q_OBJECT
public:
    explicit PositionPoll(SerialForm *link, QObject *parent = nullptr);

    // 0: the next tick reads the displayed position; k: it reads magnet k.
    int magnet_poll() const;

    bool magnetsWanted() const;

    // The timer whose ticks drive the poll. When it stops (a connection, a walk, a node ID
    // change), stopped() says so.
    void setTimer(QTimer *timer);

    // A LengthUnits index, or -1 while not known.
    int units() const;
    // From now on, whenever the unit is not known while connected, one tick reads it
    // instead of a position (once each time it becomes unknown, and once per call).
    void wantUnits();

    static QString displayCommand(qint16 node);
    static QString magnetCommand(qint16 node, int magnet);

public slots:
    void tick();
    void setMagnetsWanted(bool wanted);

signals:
    // Every tick that was not skipped: a read of the displayed position or of one magnet,
    // or, with no connection, a displayed position of NotConnected without any exchange.
    void read(const PositionReading &reading);
    // Positions first to last are no longer read: the timer stopped (0 to 15), or magnets
    // are no longer wanted (1 to 15). A tick waiting for its reply hands on its reading
    // first.
    void stopped(int first, int last);
    // fromDevice: the unit was read from the device, so the readings since it was last
    // unknown were in it; otherwise it was written, or forgotten (-1).
    void unitsChanged(int unit, bool fromDevice);

private:
    void readPosition();
    void noteExchange(const QString &sent, const QString &reply);
    void setUnits(int unit, bool fromDevice);
    void checkTimer();
    void reportStop(int first);

    QPointer<SerialForm> m_link;
    QPointer<QTimer> m_timer;
    QPropertyNotifier m_timerWatch;
    qint16 m_magnetPoll = 0;
    bool m_magnetsWanted = false;
    bool m_inTick = false;
    bool m_timerRunning = false;
    int m_stopPending = -1; // the first position of a stop reported at the end of the tick
    int m_units = -1;
    bool m_unitsWanted = false;
    bool m_unitsAsked = false; // read once since it became unknown or was last wanted
};
