// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/ParameterLink.h"

#include <QObject>
#include <QString>

#include <functional>

class BusyGuard;
class PortScan;
class SerialPortIo;
class UserPrompt;

// The device link: owns the one serial port and all connection state for one QTX2, and
// offers the device's operations by the names the rest of the program uses: connecting
// and identifying, the framed exchanges of each kind, write protection, the node ID
// change. The exchange itself (framing, the wait for a reply, the pauses) is the
// ExchangeEngine's; the port scan is the PortScan's.
//
// One exchange is on the wire at a time. An exchange requested while another waits for
// its reply (a menu command handled during a position poll, say) is held until the
// first one's reply or time-out has been taken, then sent; the two never interleave and
// neither takes the other's reply. Position polls ask isBusy() first and skip a tick
// instead of waiting.
//
// A port that fails while open is closed here: the status reads "Disconnected" ("COM3 was
// removed" when its device went away), connectionLost() is emitted and a waiting exchange
// ends as if the port had been closed.
// The link must not be deleted from inside its own wait; deleteLater() is safe.
class SerialForm : public QObject, public ParameterLink
{
    Q_OBJECT
public:
    // Waits and pauses of the exchange, in milliseconds.
    struct Timing
    {
        int plainWait = 200;
        int longWait = 10000;
        int pollWait = 500;
        int pauseBefore = 5;
        int pauseAfter = 10;
        int setCommandPause = 0;
        // A port just opened is held quiet this long before the first message: a reply to
        // an exchange that another run (killed mid-exchange) left on the line is dropped.
        int openQuiet = 200;
    };

    // Sleeps for the pauses around an exchange; tests install one that records them.
    using PauseFunction = std::function<void(int ms)>;

    // The port scan is not run here: the owner calls scanPorts() once, after connecting
    // to the signals.
    SerialForm(SerialPortIo *comm, UserPrompt *prompt, QObject *parent = nullptr);
    ~SerialForm() override;

    // --- port scan and connection ---
    // Tries ports 1 to 16. When none opens, tells the user (with the reasons as details)
    // and returns false; the caller then ends the program.
    bool scanPorts();
    // Tries port n alone and notes whether it opens, as the scan does each port: for a
    // program given its one port. Not while connected.
    bool scanPort(qint16 port);
    qint16 is_port_avail(qint16 port) const;
    QString scanDetails() const;             // why ports refused at the last scan
    PortScan &portScan();                    // for new looks at the ports while disconnected

    bool open_qtx(const QString &portstr, const QString &baudstr, qint16 nodeid);
    qint16 detect_nodeid();
    QString get_version();
    bool detect_factory_command();
    bool is_connected() const;
    void disconnect_qtx();
    qint16 get_nodeid() const;

    // --- exchanges ---
    bool sendrcv(const QString &sendstr, bool IndicateError = true);
    bool sendrcv_long(const QString &sendstr, bool IndicateError = true);
    bool sendrcv_nodeid(const QString &sendstr, bool IndicateError = true) override;
    bool sendrcv_long_nodeid(const QString &sendstr, bool IndicateError = true) override;
    QString sendrcv_timer(const QString &sendstr, bool IndicateError = true);

    // --- administration ---
    void write_enable(bool enable) override;
    void reset_wp() override;
    void beginWriteWalk() override;
    void endWriteWalk() override;
    bool change_nodeid(qint16 new_id); // true when the device took the new node ID

    // --- state ---
    QString rcvstring() const override;
    bool factory_command() const override;
    bool write_protected() const;
    QString version_text() const;
    qint16 cur_port() const;
    qint32 cur_baud() const;
    bool isBusy() const; // an exchange is waiting for its reply

    // The line's busy guard, which the link takes at each connection attempt and
    // disconnection, frees after a connection and holds through a node ID change.
    void setBusyGuard(BusyGuard *guard);
    void setTiming(const Timing &timing);
    Timing timing() const;
    void setPauseFunction(PauseFunction pause);

signals:
    // Panel 1 of the status bar.
    void statusText(const QString &text);
    // Every completed exchange, for the communications log.
    void exchanged(const QString &sent, const QString &reply);
    // A plain or long exchange that got no (whole) reply, and why.
    void exchangeFailed(const QString &sent, const QString &why);
    // The port failed while open and the link closed it.
    void connectionLost();
    // The line is about to be held quiet for a pause: pending window work (layouts,
    // repaints) may run now, overlapping the pause instead of lengthening the walk.
    void lineIdle();

private:
    struct Private;
    Private *d;
};
