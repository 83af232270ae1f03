// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/ConnectionPanel.h"

#include "link/PortDirectory.h"
#include "shell/StartOptions.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const QString NoPortText = QStringLiteral("No serial port found");
} // namespace

ConnectionPanel::ConnectionPanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Connection"), parent),
      m_port(new PortCombo(this)),
      m_baud(new QComboBox(this)),
      m_node(new QComboBox(this)),
      m_connect(new QPushButton(QStringLiteral("Connect"), this))
{
    setObjectName(QStringLiteral("Frame1"));
    m_port->setObjectName(QStringLiteral("SerPortCombo"));
    m_baud->setObjectName(QStringLiteral("SerBaudCombo"));
    m_node->setObjectName(QStringLiteral("SerNodeCombo"));
    m_connect->setObjectName(QStringLiteral("ConnectButton"));

    m_baud->addItems({QStringLiteral("19200 bps"), QStringLiteral("9600 bps"), QStringLiteral("4800 bps"),
                      QStringLiteral("2400 bps"), QStringLiteral("1200 bps")});
    m_node->addItem(QStringLiteral("Auto"));
    for (int id = 0; id <= 9; ++id)
        m_node->addItem(QString::number(id));
    m_port->setMinimumContentsLength(5);
    m_baud->setMinimumContentsLength(9);
    m_node->setMinimumContentsLength(4);
    // The text of the button changes; its width does not.
    m_connect->setMinimumWidth(m_connect->fontMetrics().horizontalAdvance(QStringLiteral("Disconnect")) + 24);

    auto *layout = new QGridLayout(this);
    auto addLabelled = [&](int column, const QString &caption, QComboBox *combo) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(combo);
        layout->addWidget(label, 0, column);
        layout->addWidget(combo, 1, column);
    };
    addLabelled(0, QStringLiteral("Port:"), m_port);
    addLabelled(1, QStringLiteral("Baud:"), m_baud);
    addLabelled(2, QStringLiteral("Node ID:"), m_node);
    layout->addWidget(m_connect, 1, 3);

    m_port->setPlaceholderText(NoPortText);

    connect(m_connect, &QPushButton::clicked, this, &ConnectionPanel::connectClicked);
    connect(m_port, &PortCombo::aboutToShowPopup, this, [this] { emit portsWanted(true); });
    m_watch.setInterval(WatchIntervalMs);
    connect(&m_watch, &QTimer::timeout, this, [this] {
        // The open list is left as the user sees it.
        if (!m_port->view()->isVisible())
            emit portsWanted(false);
    });
    setPorts({});
}

QString ConnectionPanel::noPortHelp()
{
    return tr("No serial port found. Plug in the serial adapter: the port list shows it within two "
              "seconds. If it is plugged in, close any other program that is using it.");
}

void ConnectionPanel::setPorts(const QList<QPair<int, QString>> &ports)
{
    QList<QPair<int, QString>> shown;
    for (int i = 0; i < m_port->count(); ++i)
        shown.append({PortDirectory::portNumber(m_port->itemText(i)), m_port->itemData(i, Qt::ToolTipRole).toString()});
    if (shown != ports) {
        // The port selected is known by what stands behind it (the tool tip's first line):
        // its number may pass to another device when an entry of the ports folder takes it.
        const QString selected = m_port->currentData(Qt::ToolTipRole).toString().section(QLatin1Char('\n'), 0, 0);
        const QString selectedText = m_port->currentText();
        m_port->clear();
        int index = -1;
        for (const auto &port : ports) {
            m_port->addItem(PortDirectory::portName(port.first));
            if (!port.second.isEmpty())
                m_port->setItemData(m_port->count() - 1, port.second, Qt::ToolTipRole);
            const QString location = port.second.section(QLatin1Char('\n'), 0, 0);
            if (index < 0 && (selected.isEmpty() ? m_port->itemText(m_port->count() - 1) == selectedText : location == selected))
                index = m_port->count() - 1;
        }
        m_port->setCurrentIndex(index >= 0 ? index : (m_port->count() > 0 ? 0 : -1));
    }
    m_port->setToolTip(ports.isEmpty() ? noPortHelp() : QString());
    m_connect->setToolTip(ports.isEmpty() ? noPortHelp() : QString());
}

void ConnectionPanel::selectFirst()
{
    m_port->setCurrentIndex(m_port->count() > 0 ? 0 : -1);
    m_baud->setCurrentIndex(0);
    m_node->setCurrentIndex(0);
}

QString ConnectionPanel::portText() const
{
    return m_port->currentText();
}

QString ConnectionPanel::baudText() const
{
    return m_baud->currentText();
}

qint16 ConnectionPanel::nodeId() const
{
    return qint16(m_node->currentIndex() - 1);
}

bool ConnectionPanel::select(const StartOptions &options, QString *message)
{
    if (options.port) {
        const int index = m_port->findText(PortDirectory::portName(*options.port));
        if (index < 0) {
            QStringList open;
            for (int i = 0; i < m_port->count(); ++i)
                open << m_port->itemText(i);
            *message = tr("%1 is not among the ports that open (%2).")
                           .arg(PortDirectory::portName(*options.port), open.join(QStringLiteral(", ")));
            return false;
        }
        m_port->setCurrentIndex(index);
    }
    if (options.baud)
        m_baud->setCurrentIndex(m_baud->findText(QStringLiteral("%1 bps").arg(*options.baud)));
    if (options.node)
        m_node->setCurrentIndex(*options.node + 1);
    return true;
}

void ConnectionPanel::setConnected(bool connected)
{
    m_connect->setText(connected ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
    m_port->setEnabled(!connected);
    m_node->setEnabled(!connected);
    m_connected = connected;
    updateWatch();
}

void ConnectionPanel::showEvent(QShowEvent *event)
{
    QGroupBox::showEvent(event);
    updateWatch();
}

void ConnectionPanel::hideEvent(QHideEvent *event)
{
    QGroupBox::hideEvent(event);
    updateWatch();
}

void ConnectionPanel::updateWatch()
{
    if (m_connected || !isVisible())
        m_watch.stop();
    else if (!m_watch.isActive())
        m_watch.start();
}
