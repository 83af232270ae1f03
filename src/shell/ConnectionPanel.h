// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/PortCombo.h"

#include <QGroupBox>
#include <QList>
#include <QPair>
#include <QString>
#include <QTimer>

class QPushButton;
struct StartOptions;

// The frame "Connection": port, speed and node ID selectors and the connect button.
// While disconnected and shown it asks for the ports anew every two seconds, and whenever
// the user opens the port selector.
class ConnectionPanel : public QGroupBox
{
    Q_OBJECT
public:
    static constexpr int WatchIntervalMs = 2000;

    explicit ConnectionPanel(QWidget *parent = nullptr);

    // One entry "COMn" per port, in the order given, each with what stands behind it as
    // its tool tip. The port selected stays selected while it is listed; with no port the
    // selector and the connect button say so.
    void setPorts(const QList<QPair<int, QString>> &ports);
    void selectFirst();
    // What the user is told when there is no port to connect to.
    static QString noPortHelp();

    QString portText() const;
    QString baudText() const;
    // The selected node ID; -1 for "Auto".
    qint16 nodeId() const;

    // Selects the port, speed and node ID the command line names; false, with *message
    // saying so, when the port named is not among those that open.
    bool select(const StartOptions &options, QString *message);

    // Locks the port and node selectors while a connection is open or being made.
    void setConnected(bool connected);

    QComboBox *portCombo() const { return m_port; }
    QComboBox *baudCombo() const { return m_baud; }
    QComboBox *nodeCombo() const { return m_node; }
    QPushButton *connectButton() const { return m_connect; }

signals:
    void connectClicked();
    // The ports should be looked at again; retryRefused when the user opened the selector.
    void portsWanted(bool retryRefused);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateWatch();

    PortCombo *m_port;
    QComboBox *m_baud;
    QComboBox *m_node;
    QPushButton *m_connect;
    QTimer m_watch;
    bool m_connected = false;
};
