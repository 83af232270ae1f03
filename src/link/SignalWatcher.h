// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal through a self-pipe, so a program
// that talks to a device (or plays one) ends the exchange in progress and cleans up
// instead of dying where it stands. The signal arrives in any event loop, the wait of an
// exchange included.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool isWatching() const;

signals:
    void signalled(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    QFile m_readEnd; // the pipe's end the signals are read from
};
