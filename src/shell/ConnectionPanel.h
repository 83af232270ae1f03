// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QGroupBox>
#include <QList>
#include <QPair>
#include <QString>

class QComboBox;
class QPushButton;
struct StartOptions;

// The frame "Connection": port, speed and node ID selectors and the connect button.
class ConnectionPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit ConnectionPanel(QWidget *parent = nullptr);

    // One entry "COMn" per port, in the order given, each with the system device behind
    // it as its tool tip; then the first entry of every selector is selected.
    void setPorts(const QList<QPair<int, QString>> &ports);

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

private:
    QComboBox *m_port;
    QComboBox *m_baud;
    QComboBox *m_node;
    QPushButton *m_connect;
};
