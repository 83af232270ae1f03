// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monitor/PlacedToolWindow.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QSettings>

namespace {
QSettings programSettings()
{
    return QSettings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink"));
}
} // namespace

PlacedToolWindow::PlacedToolWindow(const QString &placeKey, QSize defaultSize, QWidget *parent)
    : QDialog(parent), m_placeKey(placeKey)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(defaultSize);
    // A stored place that cannot be read (or is not one) leaves the default size.
    restoreGeometry(programSettings().value(m_placeKey).toByteArray());
}

PlacedToolWindow::~PlacedToolWindow()
{
    if (isVisible())
        storePlace();
}

void PlacedToolWindow::hideEvent(QHideEvent *event)
{
    storePlace();
    QDialog::hideEvent(event);
}

void PlacedToolWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PlacedToolWindow::storePlace()
{
    programSettings().setValue(m_placeKey, saveGeometry());
}
