// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QToolBar>

class MainMenus;

// The toolbar: Exit | Open, Save | Upload, Download | Connect. The first five share
// the menu entries; Connect is a toggle shown pressed while a device is connected.
class MainToolbar : public QToolBar
{
    Q_OBJECT
public:
    MainToolbar(const MainMenus &menus, QWidget *parent = nullptr);

    QAction *connectAction() const { return m_connect; }
    void setConnected(bool connected);

private:
    QAction *m_connect;
};
