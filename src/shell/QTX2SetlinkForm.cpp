// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/QTX2SetlinkForm.h"

#include "link/PortScan.h"
#include "link/BusyGuard.h"
#include "link/PortDirectory.h"
#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/DeviceValues.h"
#include "model/EditTracker.h"
#include "model/ItemTrack.h"
#include "model/PositionPoll.h"
#include "model/SettingsSet.h"
#include "monitor/PositionMonitor.h"
#include "monitor/PositionPanel.h"
#include "monitor/TrendRecorder.h"
#include "monitor/TrendWindow.h"
#include "shell/AboutBox.h"
#include "shell/AllSettingsWindow.h"
#include "shell/CachedProgressBar.h"
#include "shell/ConnectionPanel.h"
#include "shell/HelpLinks.h"
#include "shell/IconPainter.h"
#include "shell/LogPane.h"
#include "shell/LogoLabel.h"
#include "shell/MainMenus.h"
#include "shell/MainToolbar.h"
#include "shell/NodeIDForm.h"
#include "shell/ProgressPanel.h"
#include "shell/ShortcutKeeper.h"
#include "shell/SteadyLayoutStyle.h"
#include "shell/Twips.h"
#include "transfer/SettingsCompare.h"
#include "transfer/TransferCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString ShowTip = QStringLiteral("Show Communications Log");
const QString HideTip = QStringLiteral("Hide Communications Log");
constexpr int PositionInterval = 250;
// One for the application and gone with it: a style must outlive the widgets using it.
QStyle *steadyStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new SteadyLayoutStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

} // namespace

QTX2SetlinkForm::QTX2SetlinkForm(SerialPortIo *port, UserPrompt *prompt, DesktopOpener *opener, QWidget *parent)
    : QMainWindow(parent),
      m_port(port),
      m_prompt(prompt),
      m_opener(opener),
      m_help(std::make_unique<HelpLinks>(opener)),
      m_quit([] { qApp->quit(); })
{
    setObjectName(QStringLiteral("QTX2SetlinkForm"));
    setWindowTitle(QStringLiteral("QTX2 Setlink"));
    setWindowIcon(IconPainter::markIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    m_positionTimer = new QTimer(this);
    m_positionTimer->setObjectName(QStringLiteral("PositionTimer"));
    m_positionTimer->setInterval(PositionInterval);

    m_serial = new SerialForm(port, prompt, this);
    m_serial->setObjectName(QStringLiteral("serialform"));
    // The poll runs exactly while the line is free for it.
    m_busy = new BusyGuard(this);
    connect(m_busy, &BusyGuard::freeChanged, m_positionTimer, [this](bool free) {
        free ? m_positionTimer->start() : m_positionTimer->stop();
    });
    m_serial->setBusyGuard(m_busy);
    // What the window would draw is drawn while the line is held quiet between exchanges.
    connect(m_serial, &SerialForm::lineIdle, this, [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    });

    m_menus = new MainMenus(menuBar(), this);
    m_toolbar = new MainToolbar(*m_menus, this);
    m_toolbar->setStyle(steadyStyle());
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    buildCentral();
    buildStatusBar();

    m_settings = new SettingsSet(m_serial, this);
    m_track = new ItemTrack(m_settings, m_serial, this);
    m_form = new SetupForm(m_settings, m_tabs, this);
    m_transfer = new TransferCommands(m_track, m_serial, m_form, m_busy, prompt, this);
    m_compare = new SettingsCompare(m_form, m_serial, m_busy, prompt, this, this);
    m_deviceValues = new DeviceValues(this);
    m_monitor = new PositionMonitor(m_serial, m_positions->dispPosnLabel(), m_positions->displays(),
                                    m_menus->magPosnMenu, this);
    m_trendRecorder = new TrendRecorder(m_monitor->poll(), this);

    new ShortcutKeeper(this, {m_menus->uploadMenu, m_menus->downloadMenu, m_menus->loadMenu, m_menus->saveMenu,
                              m_menus->allSettingsMenu});
    connectCommands();
    applyLogState(false);
    show_connection_state(false);
}

QTX2SetlinkForm::~QTX2SetlinkForm()
{
    // The editors and read-outs go before the settings and the link that they refer to.
    m_positionTimer->stop();
    delete m_allSettings;
    delete m_trend;
    delete m_monitor;
    delete m_compare;
    delete m_transfer;
    delete takeCentralWidget();
    delete m_form;
    delete m_track;
    delete m_settings;
    delete m_serial;
}

void QTX2SetlinkForm::buildCentral()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));

    auto *left = new QWidget(central);
    left->setObjectName(QStringLiteral("mainColumn"));
    left->setFixedWidth(Twips::toPixels(Twips::NarrowWidth));

    m_connection = new ConnectionPanel(left);
    auto *logo = new LogoLabel(left);
    logo->setObjectName(QStringLiteral("orvaneworkswebPicture"));
    logo->setCursor(Qt::PointingHandCursor);
    connect(logo, &LogoLabel::clicked, this, [this] { m_help->openWebsite(); });
    m_expandButton = new QPushButton(QStringLiteral(">>"), left);
    m_expandButton->setObjectName(QStringLiteral("ExpandButton"));
    m_expandButton->setFixedWidth(m_expandButton->fontMetrics().horizontalAdvance(QStringLiteral("<<")) + 24);

    auto *top = new QHBoxLayout;
    top->addWidget(m_connection);
    top->addStretch(1);
    top->addWidget(logo, 0, Qt::AlignVCenter);
    top->addStretch(1);
    top->addWidget(m_expandButton, 0, Qt::AlignBottom);

    m_tabs = new QTabWidget(left);
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    m_tabs->setUsesScrollButtons(false);

    m_positions = new PositionPanel(left);
    m_positions->setObjectName(QStringLiteral("PositionPanel"));

    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(6, 4, 6, 4);
    column->addLayout(top);
    column->addWidget(m_tabs, 1);
    column->addWidget(m_positions);

    // The log strip starts just right of the narrow window's edge.
    m_log = new LogPane(central);
    m_log->setFixedWidth(Twips::toPixels(Twips::WideWidth) - Twips::toPixels(Twips::LogPaneLeft) - 6);

    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 4);
    row->setSpacing(Twips::toPixels(Twips::LogPaneLeft) - Twips::toPixels(Twips::NarrowWidth));
    row->addWidget(left);
    row->addWidget(m_log);
    row->addStretch(1);
    central->setStyle(steadyStyle());
    setCentralWidget(central);
}

void QTX2SetlinkForm::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatBar"));
    bar->setSizeGripEnabled(false);
    m_panel1 = new QLabel(QStringLiteral("Disconnected"), bar);
    m_panel1->setObjectName(QStringLiteral("StatBarPanel1"));
    m_panel2 = new QLabel(bar);
    m_panel2->setObjectName(QStringLiteral("StatBarPanel2"));
    // Long texts are cut at the panel's edge instead of widening the fixed window.
    for (QLabel *panel : {m_panel1, m_panel2}) {
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
    }
    m_progress = new CachedProgressBar(bar);
    m_progress->setObjectName(QStringLiteral("StatBarProgress"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setFixedWidth(90);
    m_progress->setMaximumHeight(14);
    m_progress->hide();
    bar->addWidget(m_panel1, 5);
    bar->addWidget(m_panel2, 2);
    bar->addPermanentWidget(m_progress);
    m_progressPanel = new ProgressPanel(m_panel2, m_progress, this);
}

void QTX2SetlinkForm::connectCommands()
{
    const MainMenus &m = *m_menus;
    connect(m_connection, &ConnectionPanel::connectClicked, this, &QTX2SetlinkForm::connectCommand);
    connect(m_toolbar->connectAction(), &QAction::triggered, this, &QTX2SetlinkForm::connectCommand);
    connect(m.exitMenu, &QAction::triggered, this, &QTX2SetlinkForm::shutdown);

    connect(m.loadMenu, &QAction::triggered, m_transfer, &TransferCommands::openFile);
    connect(m.saveMenu, &QAction::triggered, m_transfer, &TransferCommands::saveFile);
    connect(m.uploadMenu, &QAction::triggered, m_transfer, &TransferCommands::upload);
    connect(m.downloadMenu, &QAction::triggered, m_transfer, &TransferCommands::download);
    connect(m.restoreBackupMenu, &QAction::triggered, m_transfer, &TransferCommands::restoreBackup);
    connect(m.compareDeviceMenu, &QAction::triggered, m_compare, &SettingsCompare::compareDevice);
    connect(m.compareFileMenu, &QAction::triggered, m_compare, &SettingsCompare::compareFile);
    connect(m.resetUnitsMenu, &QAction::triggered, m_transfer, &TransferCommands::reset_units);
    connect(m.menuFactory, &QAction::triggered, m_transfer, &TransferCommands::factoryReset);
    connect(m.nodeMenu, &QAction::triggered, this, &QTX2SetlinkForm::openNodeDialog);
    connect(m.trendMenu, &QAction::triggered, this, &QTX2SetlinkForm::openTrendWindow);
    connect(m.allSettingsMenu, &QAction::triggered, this, &QTX2SetlinkForm::openAllSettings);
    connect(m.saveLogMenu, &QAction::triggered, m_log, &LogPane::saveLog);
    m_log->setPrompt(m_prompt);

    // The check mark has already toggled when triggered arrives.
    connect(m.autoUpMenu, &QAction::triggered, this, &QTX2SetlinkForm::save_prefs);
    connect(m.verifyMenu, &QAction::triggered, this, &QTX2SetlinkForm::save_prefs);
    connect(m.backupMenu, &QAction::triggered, this, &QTX2SetlinkForm::save_prefs);
    connect(m.backupMenu, &QAction::toggled, m_transfer, &TransferCommands::setBackupBeforeDownload);
    connect(m_transfer, &TransferCommands::downloaded, this, [this] {
        if (m_menus->verifyMenu->isChecked())
            m_compare->verifyDownload();
    });
    connect(m.magPosnMenu, &QAction::triggered, this, [this] {
        m_monitor->menuClicked();
        save_prefs();
    });
    connect(m.logMenu, &QAction::triggered, this, &QTX2SetlinkForm::toggleLogPane);
    connect(m_expandButton, &QPushButton::clicked, this, &QTX2SetlinkForm::toggleLogPane);

    connect(m.contentsMenu, &QAction::triggered, this, [this] { m_help->openContents(); });
    connect(m.qtx2ManualMenu, &QAction::triggered, this, [this] { m_help->openManual(); });
    connect(m.aboutMenu, &QAction::triggered, this, &QTX2SetlinkForm::openAboutBox);

    connect(m_serial, &SerialForm::statusText, m_panel1, &QLabel::setText);
    connect(m_serial, &SerialForm::exchanged, m_log, &LogPane::log_exchange);
    connect(m_serial, &SerialForm::connectionLost, this, [this] {
        show_connection_state(false);
        // A removed port leaves the list at once, though not from inside the failed exchange.
        QTimer::singleShot(0, this, [this] { refreshPortList(); });
    });
    connect(m_connection, &ConnectionPanel::portsWanted, this, &QTX2SetlinkForm::refreshPortList);
    connect(m_transfer, &TransferCommands::progress, m_progressPanel, &ProgressPanel::show);
    connect(m_transfer, &TransferCommands::syncColour, this, &QTX2SetlinkForm::setSyncColour);
    connect(m_compare, &SettingsCompare::progress, m_progressPanel, &ProgressPanel::show);
    connect(m_transfer->tracker(), &EditTracker::marksChanged, this,
            [this] { m_form->showMarks(*m_transfer->tracker()); });
    connect(m_form, &SetupForm::itemChanged, this, &QTX2SetlinkForm::mark_changed);

    // The device's values as last read. A read that ends with the link gone is not kept:
    // the closing link has forgotten every value, and the next device may be another.
    const auto noteRead = [this](const WalkReport &report) {
        if (m_serial->is_connected())
            m_deviceValues->noteRead(report);
    };
    connect(m_transfer, &TransferCommands::deviceRead, this, noteRead);
    connect(m_compare, &SettingsCompare::deviceRead, this, noteRead);
    connect(m_transfer, &TransferCommands::deviceWritten, m_deviceValues, &DeviceValues::noteWritten);
    connect(m_transfer, &TransferCommands::deviceReset, m_deviceValues, &DeviceValues::clear);
    m_monitor->poll()->setTimer(m_positionTimer);
}

bool QTX2SetlinkForm::start()
{
    // The help file's place is fixed by HelpLinks, next to the program. The window
    // starts narrow, its log pane hidden.
    applyLogState(false);
    // With no port found the window waits for one: the selector and the connect button
    // say so.
    m_serial->portScan().scan();
    fill_port_list();
    // The stored preferences pick the port from the list just filled; saving them at once
    // replaces whatever could not be read with what the window now shows.
    load_prefs();
    save_prefs();
    m_tabs->setCurrentIndex(0);
    // The read-outs show their magnets before the first poll answers.
    m_monitor->startDisplays();
    m_positionTimer->start();
    m_form->build_catalogue();
    setSyncColour(SyncColour::NoDevice);
    update_disabled();
    return true;
}

void QTX2SetlinkForm::setQuitHandler(std::function<void()> handler)
{
    m_quit = std::move(handler);
}

QList<QPair<int, QString>> QTX2SetlinkForm::portEntries() const
{
    QList<QPair<int, QString>> ports;
    for (int n : m_serial->portScan().available())
        ports.append({n, m_serial->portScan().describe(n)});
    return ports;
}

void QTX2SetlinkForm::fill_port_list()
{
    m_connection->setPorts(portEntries());
    m_connection->selectFirst();
    show_connection_state(false);
}

void QTX2SetlinkForm::refreshPortList(bool retryRefused)
{
    if (m_serial->is_connected() || m_serial->isBusy())
        return;
    m_serial->portScan().rescan(retryRefused);
    m_connection->setPorts(portEntries());
}

void QTX2SetlinkForm::show_connection_state(bool connected)
{
    m_connection->setConnected(connected);
    m_menus->downloadMenu->setEnabled(connected);
    m_menus->uploadMenu->setEnabled(connected);
    m_menus->compareDeviceMenu->setEnabled(connected);
    m_menus->nodeMenu->setEnabled(connected);
    m_toolbar->setConnected(connected);
    if (!connected) {
        m_deviceValues->clear();
        setSyncColour(SyncColour::NoDevice);
        m_positions->dispPosnLabel()->clear();
    }
}

void QTX2SetlinkForm::connectCommand()
{
    if (m_serial->is_connected()) {
        m_serial->disconnect_qtx();
        show_connection_state(false);
        return;
    }
    if (m_connection->portCombo()->count() == 0) {
        show_connection_state(false);
        if (m_prompt)
            m_prompt->message(ConnectionPanel::noPortHelp(), m_serial->scanDetails());
        return;
    }
    show_connection_state(true);
    const QString portstr = m_connection->portText();
    const QString baudstr = m_connection->baudText();
    const qint16 nodeid = m_connection->nodeId();
    if (!m_serial->open_qtx(portstr, baudstr, nodeid)) {
        show_connection_state(false);
        m_panel1->setText(QStringLiteral("Timeout attempting to connect to QTX2"));
        return;
    }
    save_prefs();
    if (m_menus->autoUpMenu->isChecked())
        m_transfer->upload();
    // The user may have disconnected while the upload waited for a reply.
    show_connection_state(m_serial->is_connected());
}

void QTX2SetlinkForm::mark_changed()
{
    // A value the device sends is in step with it: the captions go back to black after
    // every item of an upload, and a red in between would only repaint the tab bar.
    if (m_track->isUploading())
        return;
    setSyncColour(m_serial->is_connected() ? SyncColour::Changed : SyncColour::NoDevice);
}

void QTX2SetlinkForm::setSyncColour(SyncColour colour)
{
    switch (colour) {
    case SyncColour::InStep:
        setTabCaptionColour(Qt::black);
        break;
    case SyncColour::Changed:
        setTabCaptionColour(QColor(255, 0, 0));
        break;
    case SyncColour::NoDevice:
        setTabCaptionColour(palette().color(QPalette::Disabled, QPalette::WindowText));
        break;
    }
}

void QTX2SetlinkForm::setTabCaptionColour(const QColor &colour)
{
    // Setting a caption colour repaints the tab bar even when the colour is the same, and
    // an upload sets it after every item.
    QTabBar *bar = m_tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabTextColor(i) != colour)
            bar->setTabTextColor(i, colour);
}

void QTX2SetlinkForm::update_disabled()
{
    m_form->update_disabled();
}

bool QTX2SetlinkForm::isLogShown() const
{
    return width() != Twips::toPixels(Twips::NarrowWidth);
}

void QTX2SetlinkForm::toggleLogPane()
{
    applyLogState(!isLogShown());
    save_prefs();
}

void QTX2SetlinkForm::applyLogState(bool shown)
{
    const int width = Twips::toPixels(shown ? Twips::WideWidth : Twips::NarrowWidth);
    setFixedSize(width, Twips::toPixels(Twips::Height));
    m_log->setVisible(shown);
    m_expandButton->setText(shown ? QStringLiteral("<<") : QStringLiteral(">>"));
    m_expandButton->setToolTip(shown ? HideTip : ShowTip);
    m_menus->logMenu->setText(shown ? QStringLiteral("Hide &Log") : QStringLiteral("Show &Log"));
}

void QTX2SetlinkForm::load_prefs()
{
    const PreferencesStore::Values v = m_prefs.load();
    m_menus->magPosnMenu->setChecked(v.readMagnets);
    m_menus->autoUpMenu->setChecked(v.autoUpload);
    m_menus->verifyMenu->setChecked(v.verifyAfterDownload);
    m_menus->backupMenu->setChecked(v.backupBeforeDownload);
    applyLogState(v.expanded);
    QComboBox *ports = m_connection->portCombo();
    if (!v.port) {
        ports->setCurrentIndex(ports->count() > 0 ? 0 : -1);
        return;
    }
    // The whole number must match, so COM12 comes back as COM12.
    const int index = ports->findText(PortDirectory::portName(*v.port));
    if (index >= 0)
        ports->setCurrentIndex(index);
}

void QTX2SetlinkForm::save_prefs()
{
    PreferencesStore::Values v;
    v.readMagnets = m_menus->magPosnMenu->isChecked();
    v.autoUpload = m_menus->autoUpMenu->isChecked();
    v.verifyAfterDownload = m_menus->verifyMenu->isChecked();
    v.backupBeforeDownload = m_menus->backupMenu->isChecked();
    v.expanded = width() == Twips::toPixels(Twips::WideWidth);
    const QString port = m_connection->portText();
    const int number = PortDirectory::portNumber(port);
    if (port.size() > 3 && number > 0)
        v.port = number;
    m_prefs.save(v);
}

void QTX2SetlinkForm::openNodeDialog()
{
    NodeIDForm dialog(m_serial, m_prompt, this);
    dialog.exec();
}

void QTX2SetlinkForm::openAboutBox()
{
    AboutBox box(m_opener, this);
    box.exec();
}

// Made on first use; the recorder has kept the readings from the start.
void QTX2SetlinkForm::openTrendWindow()
{
    if (!m_trend)
        m_trend = new TrendWindow(m_prompt, m_trendRecorder, this);
    m_trend->show();
    m_trend->raise();
    m_trend->activateWindow();
}

// Made on first use; it shows the settings as they are whenever it opens.
void QTX2SetlinkForm::openAllSettings()
{
    if (!m_allSettings) {
        m_allSettings = new AllSettingsWindow(m_settings, m_transfer->tracker(), m_deviceValues, this);
        connect(m_allSettings, &AllSettingsWindow::showRequested, this, [this](const Setting *setting) {
            m_form->showSetting(setting);
            raise();
            activateWindow();
        });
    }
    m_allSettings->showSearch();
}

void QTX2SetlinkForm::shutdown()
{
    if (m_quitting)
        return;
    m_quitting = true;
    m_positionTimer->stop();
    // A waiting exchange runs its own event loop; closing the link ends it at once.
    if (m_serial->isBusy() || m_serial->is_connected())
        m_serial->disconnect_qtx();
    m_quit();
}

void QTX2SetlinkForm::closeEvent(QCloseEvent *event)
{
    shutdown();
    event->accept();
}
