// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ReplyPacer.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

class QSocketNotifier;
class Qtx2Device;

// Serves a simulated QTX2 on a pseudo-terminal: the application opens the slave side as
// its serial port. A slave descriptor stays open here for the whole run, so the master
// never reads end-of-file or EIO while the application has its side closed; the slave is
// raw, so a carriage return crosses unchanged.
class PtyServer : public QObject
{
    Q_OBJECT
public:
    // Bytes waiting for a reader beyond this are dropped, like an overrun line.
    static constexpr int MaxPending = 65536;
    static constexpr int PullDelayMs = 200;

    explicit PtyServer(Qtx2Device *device, QObject *parent = nullptr);
    ~PtyServer() override;

    bool start();
    QString errorText() const;
    QString slavePath() const;
    bool isOpen() const;

    // Paces replies at this line speed (10 bit times a byte); 0: as fast as possible.
    void setLineRate(int baud);

    // Closes the pseudo-terminal: the application's port fails as with a pulled cable.
    void pullCable();

signals:
    void messageReceived(const QString &message); // without its CR
    void replyMade(const QByteArray &bytes);
    void cablePulled();

private:
    void readMaster();
    void queueOutput(const QByteArray &bytes);
    void flush();
    void closeAll();

    Qtx2Device *m_device;
    ReplyPacer m_pacer;
    int m_master = -1;
    QFile m_masterFile;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_pending;
};
