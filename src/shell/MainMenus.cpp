// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/MainMenus.h"

#include "shell/IconPainter.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

MainMenus::MainMenus(QMenuBar *bar, QObject *parent) : QObject(parent)
{
    fileMenu = addMenu(bar, QStringLiteral("FileMenu"), QStringLiteral("&File"));
    loadMenu = addEntry(fileMenu, QStringLiteral("LoadMenu"), QStringLiteral("&Open Settings File..."));
    saveMenu = addEntry(fileMenu, QStringLiteral("SaveMenu"), QStringLiteral("&Save Settings File..."));
    saveLogMenu = addEntry(fileMenu, QStringLiteral("SaveLogMenu"), QStringLiteral("Save &Log..."));
    restoreBackupMenu = addEntry(fileMenu, QStringLiteral("RestoreBackupMenu"), QStringLiteral("Restore Backup..."));
    exitMenu = addEntry(fileMenu, QStringLiteral("ExitMenu"), QStringLiteral("E&xit"));

    transferMenu = addMenu(bar, QStringLiteral("TransferMenu"), QStringLiteral("&Transfer"));
    downloadMenu = addEntry(transferMenu, QStringLiteral("DownloadMenu"), QStringLiteral("&Download To QTX2"));
    uploadMenu = addEntry(transferMenu, QStringLiteral("UploadMenu"), QStringLiteral("&Upload From QTX2"));
    compareDeviceMenu =
        addEntry(transferMenu, QStringLiteral("CompareDeviceMenu"), QStringLiteral("Compare With QTX2..."));
    compareFileMenu = addEntry(transferMenu, QStringLiteral("CompareFileMenu"), QStringLiteral("Compare With File..."));

    viewMenu = addMenu(bar, QStringLiteral("ViewMenu"), QStringLiteral("&View"));
    allSettingsMenu = addEntry(viewMenu, QStringLiteral("AllSettingsMenu"), QStringLiteral("&All Settings"));

    toolsMenu = addMenu(bar, QStringLiteral("ToolsMenu"), QStringLiteral("Too&ls"));
    nodeMenu = addEntry(toolsMenu, QStringLiteral("NodeMenu"), QStringLiteral("Change &Node ID of QTX2"));
    resetUnitsMenu = addEntry(toolsMenu, QStringLiteral("ResetUnitsMenu"),
                              QStringLiteral("Reset All Setup Items to Default Units"));
    menuFactory = addEntry(toolsMenu, QStringLiteral("MenuFactory"), QStringLiteral("Reset to &Factory Defaults"));
    trendMenu = addEntry(toolsMenu, QStringLiteral("TrendMenu"), QStringLiteral("Position &Trend"));

    optionsMenu = addMenu(bar, QStringLiteral("OptionsMenu"), QStringLiteral("&Options"));
    autoUpMenu = addEntry(optionsMenu, QStringLiteral("AutoUpMenu"), QStringLiteral("Auto-Upload on Connect"));
    magPosnMenu = addEntry(optionsMenu, QStringLiteral("MagPosnMenu"),
                           QStringLiteral("Update Individual Magnet &Positions"));
    verifyMenu = addEntry(optionsMenu, QStringLiteral("VerifyMenu"), QStringLiteral("Verify After Download"));
    backupMenu = addEntry(optionsMenu, QStringLiteral("BackupMenu"), QStringLiteral("Back Up Before Download"));
    logMenu = addEntry(optionsMenu, QStringLiteral("LogMenu"), QStringLiteral("Show &Log"));
    for (QAction *option : {autoUpMenu, magPosnMenu, verifyMenu, backupMenu})
        option->setCheckable(true);
    // On until the stored preferences say otherwise.
    verifyMenu->setChecked(true);
    backupMenu->setChecked(true);

    helpMenu = addMenu(bar, QStringLiteral("HelpMenu"), QStringLiteral("&Help"));
    contentsMenu = addEntry(helpMenu, QStringLiteral("ContentsMenu"), QStringLiteral("&Contents"));
    qtx2ManualMenu = addEntry(helpMenu, QStringLiteral("QTX2ManualMenu"), QStringLiteral("QTX2 &Manual (pdf)"));
    helpMenu->addSeparator();
    aboutMenu = addEntry(helpMenu, QStringLiteral("AboutMenu"), QStringLiteral("&About"));

    loadMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    saveMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    downloadMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    uploadMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    allSettingsMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));

    // The toolbar shows these entries with their own tips and icons.
    exitMenu->setToolTip(QStringLiteral("Exit"));
    loadMenu->setToolTip(QStringLiteral("Open"));
    saveMenu->setToolTip(QStringLiteral("Save"));
    uploadMenu->setToolTip(QStringLiteral("Upload settings from the QTX"));
    downloadMenu->setToolTip(QStringLiteral("Download settings to the QTX"));
    exitMenu->setIcon(IconPainter::icon(IconPainter::Kind::Exit));
    loadMenu->setIcon(IconPainter::icon(IconPainter::Kind::Open));
    saveMenu->setIcon(IconPainter::icon(IconPainter::Kind::Save));
    uploadMenu->setIcon(IconPainter::icon(IconPainter::Kind::Upload));
    downloadMenu->setIcon(IconPainter::icon(IconPainter::Kind::Download));
}

QMenu *MainMenus::addMenu(QMenuBar *bar, const QString &name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction *MainMenus::addEntry(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}
