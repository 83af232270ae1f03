// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

// The window's menus and their entries, with the captions, names and shortcuts the
// user knows. The entries are plain actions; the window connects them to its commands
// and the toolbar shares them.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    MainMenus(QMenuBar *bar, QObject *parent);

    QMenu *fileMenu, *transferMenu, *viewMenu, *toolsMenu, *optionsMenu, *helpMenu;

    QAction *loadMenu, *saveMenu, *saveLogMenu, *restoreBackupMenu, *exitMenu;
    QAction *downloadMenu, *uploadMenu, *compareDeviceMenu, *compareFileMenu;
    QAction *allSettingsMenu;
    QAction *nodeMenu, *resetUnitsMenu, *menuFactory, *trendMenu;
    QAction *autoUpMenu, *magPosnMenu, *verifyMenu, *backupMenu, *logMenu;
    QAction *contentsMenu, *qtx2ManualMenu, *aboutMenu;

private:
    QMenu *addMenu(QMenuBar *bar, const QString &name, const QString &caption);
    QAction *addEntry(QMenu *menu, const QString &name, const QString &caption);
};
