// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/MainToolbar.h"

#include "shell/IconPainter.h"
#include "shell/MainMenus.h"

#include <QAction>

MainToolbar::MainToolbar(const MainMenus &menus, QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("tbToolBar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(24, 24));
    setContextMenuPolicy(Qt::PreventContextMenu);
    toggleViewAction()->setVisible(false);

    addAction(menus.exitMenu);
    addSeparator();
    addAction(menus.loadMenu);
    addAction(menus.saveMenu);
    addSeparator();
    addAction(menus.uploadMenu);
    addAction(menus.downloadMenu);
    addSeparator();
    m_connect = addAction(IconPainter::icon(IconPainter::Kind::Connect), QStringLiteral("Connect"));
    m_connect->setObjectName(QStringLiteral("tbConnect"));
    m_connect->setToolTip(QStringLiteral("Connect"));
    m_connect->setCheckable(true);
}

void MainToolbar::setConnected(bool connected)
{
    m_connect->setChecked(connected);
}
