// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "catalogue/SetupForm.h"
#include "shell/PreferencesStore.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class AllSettingsWindow;
class BusyGuard;
class ConnectionPanel;
class DesktopOpener;
class DeviceValues;
class HelpLinks;
class ItemTrack;
class LogPane;
class MainMenus;
class MainToolbar;
class PositionMonitor;
class PositionPanel;
class ProgressPanel;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class SerialForm;
class SerialPortIo;
class SettingsCompare;
class SettingsSet;
class TransferCommands;
class TrendRecorder;
class TrendWindow;
class UserPrompt;

// The main window: connection panel, menus, toolbar, status bar, the tabbed form of
// setup items, the position read-outs and the communications log. It owns the device
// link and every setup item for the whole run.
class QTX2SetlinkForm : public QMainWindow
{
    Q_OBJECT
public:
    QTX2SetlinkForm(SerialPortIo *port, UserPrompt *prompt, DesktopOpener *opener, QWidget *parent = nullptr);
    ~QTX2SetlinkForm() override;

    // Scans the ports, fills the selectors, restores the preferences and configures
    // every item. True: with no port the window starts all the same and waits for one.
    bool start();

    // Ending the program; tests replace it.
    void setQuitHandler(std::function<void()> handler);

    SerialForm *serialForm() const { return m_serial; }
    SetupForm *setupForm() const { return m_form; }
    SettingsSet *settings() const { return m_settings; }
    LogPane *logPane() const { return m_log; }
    ConnectionPanel *connectionPanel() const { return m_connection; }
    QTabWidget *tabs() const { return m_tabs; }
    TransferCommands *transferCommands() const { return m_transfer; }
    SettingsCompare *settingsCompare() const { return m_compare; }
    DeviceValues *deviceValues() const { return m_deviceValues; }
    // The All Settings window once opened, else nullptr.
    AllSettingsWindow *allSettingsWindow() const { return m_allSettings; }
    bool isLogShown() const;

public slots:
    void show_connection_state(bool connected);
    void fill_port_list();
    // A new look at the ports while disconnected; the selected port stays selected.
    void refreshPortList(bool retryRefused = false);
    void connectCommand();
    void mark_changed();
    void setSyncColour(SyncColour colour);
    void update_disabled();
    void toggleLogPane();
    void load_prefs();
    void save_prefs();
    void shutdown();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCentral();
    void buildStatusBar();
    void connectCommands();
    void applyLogState(bool shown);
    void setTabCaptionColour(const QColor &colour);
    void openNodeDialog();
    void openAboutBox();
    void openTrendWindow();
    void openAllSettings();
    QList<QPair<int, QString>> portEntries() const;

    SerialPortIo *m_port;
    UserPrompt *m_prompt;
    DesktopOpener *m_opener;

    std::unique_ptr<HelpLinks> m_help;
    PreferencesStore m_prefs;

    SerialForm *m_serial = nullptr;
    SettingsSet *m_settings = nullptr;
    ItemTrack *m_track = nullptr;
    SetupForm *m_form = nullptr;
    TransferCommands *m_transfer = nullptr;
    SettingsCompare *m_compare = nullptr;
    DeviceValues *m_deviceValues = nullptr;
    AllSettingsWindow *m_allSettings = nullptr;
    PositionMonitor *m_monitor = nullptr;
    TrendRecorder *m_trendRecorder = nullptr;
    TrendWindow *m_trend = nullptr;
    QTimer *m_positionTimer = nullptr;
    BusyGuard *m_busy = nullptr;

    MainMenus *m_menus = nullptr;
    MainToolbar *m_toolbar = nullptr;
    ConnectionPanel *m_connection = nullptr;
    QPushButton *m_expandButton = nullptr;
    QTabWidget *m_tabs = nullptr;
    PositionPanel *m_positions = nullptr;
    LogPane *m_log = nullptr;
    QLabel *m_panel1 = nullptr;
    QLabel *m_panel2 = nullptr;
    QProgressBar *m_progress = nullptr;
    ProgressPanel *m_progressPanel = nullptr;

    std::function<void()> m_quit;
    bool m_quitting = false;
};
