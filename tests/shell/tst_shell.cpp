// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BuildInfo.h"
#include "AnsweringPort.h"
#include "WindowRig.h"
#include "model/SettingsFilter.h"
#include "model/SettingsTableModel.h"
#include "shell/AboutBox.h"
#include "shell/AllSettingsWindow.h"
#include "shell/ConnectionPanel.h"
#include "shell/CachedProgressBar.h"
#include "shell/DialogPrompt.h"
#include "shell/HelpLinks.h"
#include "shell/LogoLabel.h"
#include "shell/ModRegistry.h"
#include "shell/NodeIDForm.h"
#include "shell/ProgressPanel.h"
#include "shell/Twips.h"
#include "transfer/TransferCommands.h"

#include <QtWidgets>

namespace {

// A line edit with the X11 editing keys Ctrl+U and Ctrl+D, claimed before any shortcut as
// QLineEdit does under the X11 key bindings (the offscreen platform has others).
class X11LineEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent *e) override
    {
        const bool isKey = e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress;
        const auto *key = isKey ? static_cast<QKeyEvent *>(e) : nullptr;
        const bool claimed = key && key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_U || key->key() == Qt::Key_D);
        if (claimed && e->type() == QEvent::KeyPress)
            clear();
        return claimed ? (e->accept(), true) : QLineEdit::event(e);
    }
};

// Presses a key on whatever has the focus in the window.
void press(QWidget *window, Qt::Key key) { QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key); }

QSettings store() { return QSettings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink")); }

// The window rig with the connection panel and the toolbar at hand.
struct ShellRig : Rig
{
    using Rig::Rig;
    QComboBox *combo(const char *name) const { return find<QComboBox>(QLatin1String(name)); }
    QToolBar *toolbar() const { return find<QToolBar>(QStringLiteral("tbToolBar")); }
    // The port selector's entries and, in brackets, the one selected.
    QString entries() const
    {
        QStringList texts{'[' + combo("SerPortCombo")->currentText() + ']'};
        for (int i = combo("SerPortCombo")->count() - 1; i >= 0; --i)
            texts.prepend(combo("SerPortCombo")->itemText(i));
        return texts.join(' ');
    }
    QWidget *toolbarButton(int position) const { return toolbar()->widgetForAction(toolbar()->actions().at(position - 1)); }
    void checkState(bool connected) const
    {
        QCOMPARE(connectButton()->text(), connected ? "Disconnect" : "Connect");
        QVERIFY(combo("SerPortCombo")->isEnabled() != connected && combo("SerNodeCombo")->isEnabled() != connected);
        for (const char *name : {"DownloadMenu", "UploadMenu", "CompareDeviceMenu", "NodeMenu"})
            QCOMPARE(action(QLatin1String(name))->isEnabled(), connected);
        QVERIFY(toolbarButton(6)->isEnabled() == connected && toolbarButton(7)->isEnabled() == connected);
        QCOMPARE(toolbar()->actions().at(8)->isChecked(), connected);
        for (QAction *action : window->findChildren<QAction *>(QRegularExpression("^(?!Download|Upload|CompareDevice|Node).*Menu$")))
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
        QVERIFY(combo("SerBaudCombo")->isEnabled() && toolbarButton(1)->isEnabled() && toolbarButton(9)->isEnabled());
        if (!connected)
            QVERIFY(captionColour() == grey() && dispPosn().isEmpty());
    }
};

} // namespace

// The application shell: the main window, its dialogs and message box, driven by clicks
// and keys as a user would.
class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { clearPreferences(); }

    // The window as start-up leaves it, every menu entry where the user expects it with its
    // shortcut, and the toolbar's positions.
    void startup()
    {
        ShellRig rig(false, {1, 3});
        QTX2SetlinkForm &w = *rig.window;
        QVERIFY(rig.started && !rig.port.isOpen() && rig.prompt.messages.isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("QTX2 Setlink"));
        QCOMPARE(w.size(), QSize(Twips::toPixels(8985), Twips::toPixels(8175)));
        QVERIFY(w.minimumSize() == w.maximumSize() && (w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))
                                                          == Qt::WindowMinimizeButtonHint);
        QStringList texts{rig.find<QGroupBox>(QStringLiteral("Frame1"))->title(), rig.panel1() + rig.panel2()};
        for (const char *name : {"SerPortCombo", "SerBaudCombo", "SerNodeCombo"})
            for (int i = -1; i < rig.combo(name)->count(); ++i)
                texts << (i < 0 ? rig.combo(name)->currentText() + ":" : rig.combo(name)->itemText(i));
        for (int i = -1; i < w.tabs()->count(); ++i)
            texts << (i < 0 ? QString::number(w.tabs()->currentIndex()) + ":" : w.tabs()->tabText(i));
        QCOMPARE(texts.join(' '), QStringLiteral("Connection Disconnected COM1: COM1 COM3 19200 bps: 19200 bps 9600 bps 4800 bps "
                                                 "2400 bps 1200 bps Auto: Auto 0 1 2 3 4 5 6 7 8 9 0: Display Position Transducer "
                                                 "Analog Out Dig Inputs Front Panel Limit Sw Presets"));
        QCOMPARE(rig.combo("SerPortCombo")->itemData(1, Qt::ToolTipRole).toString(), rig.port.describePort(3));
        rig.checkState(false);
        QCOMPARE(w.tabs()->tabBar()->tabTextColor(7), rig.grey());
        auto *timer = rig.find<QTimer>(QStringLiteral("PositionTimer"));
        QVERIFY(timer->isActive() && timer->interval() == 250);
        w.show(); // nothing reaches past the window's edges
        for (QWidget *child : w.findChildren<QWidget *>())
            if (child->isVisible() && !child->isWindow())
                QVERIFY2(w.rect().contains(QRect(child->mapTo(&w, QPoint(0, 0)), child->size())), qPrintable(child->objectName()));
        // Panel 2 keeps its size through a walk's percentages, yet follows the window's.
        auto *panel2 = rig.find<QLabel>(QStringLiteral("StatBarPanel2"));
        int narrow = 0;
        for (int percent : {50, 55, 60, 70}) {
            if (percent == 70) {
                narrow = panel2->width();
                rig.trigger("LogMenu");
            }
            emit w.transferCommands()->progress(QStringLiteral("Uploading...   %1%").arg(percent));
            QTest::qWait(2 * ProgressPanel::FrameMs);
        }
        QVERIFY(panel2->width() > narrow);

        QStringList menus;
        for (const char *name : {"FileMenu", "TransferMenu", "ViewMenu", "ToolsMenu", "OptionsMenu", "HelpMenu"}) {
            menus << rig.find<QMenu>(QLatin1String(name))->title() + ":";
            for (QAction *a : rig.find<QMenu>(QLatin1String(name))->actions())
                menus << a->objectName() + (a->shortcut().isEmpty() ? "" : "=" + a->shortcut().toString()) + (a->isCheckable() ? "+" : "");
        }
        for (QAction *a : rig.toolbar()->actions())
            menus << (a->isSeparator() ? "|" : a->toolTip() + (a->isCheckable() ? "+" : ""));
        QCOMPARE(menus.join(' '), QStringLiteral("&File: LoadMenu=Ctrl+O SaveMenu=Ctrl+S SaveLogMenu RestoreBackupMenu ExitMenu &Transfer: "
                                                 "DownloadMenu=Ctrl+D UploadMenu=Ctrl+U CompareDeviceMenu CompareFileMenu &View: AllSettingsMenu=Ctrl+F Too&ls: NodeMenu "
                                                 "ResetUnitsMenu MenuFactory TrendMenu &Options: AutoUpMenu+ MagPosnMenu+ VerifyMenu+ BackupMenu+ LogMenu &Help: ContentsMenu QTX2ManualMenu  AboutMenu "
                                                 "Exit | Open Save | Upload settings from the QTX Download settings to the QTX | Connect+"));
    }

    // From the keyboard: Ctrl+F opens All Settings with the search focused, Enter takes the
    // first setting found, Enter again shows its field on its tab, behind its selector.
    void allSettingsGoToField_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("selector"); // name=entry, or none
        QTest::newRow("magnet offset") << "pma" << "MagOffItem(9)" << 1 << "MagOffCombo=Magnet 10 Offset";
        QTest::newRow("limit bound") << "limit 3 upper" << "LimitUBItem(2)" << 6 << "LimitCombo=Digital Output 3";
        QTest::newRow("code, case aside") << "xg" << "GapItem" << 1 << "";
    }
    void allSettingsGoToField()
    {
        QFETCH(QString, search);
        QFETCH(QString, item);
        QFETCH(QString, selector);
        ShellRig rig;
        rig.window->show();
        QApplication::setActiveWindow(rig.window.get());
        QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
        QTest::keyClick(rig.window.get(), Qt::Key_F, Qt::ControlModifier);
        AllSettingsWindow *all = rig.window->allSettingsWindow();
        QVERIFY(all && all->isVisible());
        auto *field = all->findChild<QLineEdit *>(QStringLiteral("AllSettingsSearch"));
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, search);
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(all->table()->hasFocus());
        QTest::keyClick(all->table(), Qt::Key_Return);
        QTEST(rig.window->tabs()->currentIndex(), "tab");
        if (!selector.isEmpty())
            QCOMPARE(rig.combo(qPrintable(selector.section('=', 0, 0)))->currentText(), selector.section('=', 1));
        QVERIFY(rig.find<SetupItem>(item)->isAncestorOf(rig.window->focusWidget()));
    }

    // The table is another view of the form: an edit in either shows in the other with its
    // marks and captions; an upload with the table open touches only the rows whose values
    // move; the device's values go with the link; the window keeps its size.
    void allSettingsFollowsTheForm()
    {
        using Model = SettingsTableModel;
        ShellRig rig(true);
        rig.clickConnect();
        rig.trigger(QStringLiteral("AllSettingsMenu"));
        AllSettingsWindow *all = rig.window->allSettingsWindow();
        QTableView *table = all->table();
        Model *model = all->model();
        const auto cell = [&](const char *code, int column) {
            const int row = model->rowOf(rig.window->settings()->byCode(QLatin1String(code)));
            return all->filter()->mapFromSource(model->index(row, column));
        };
        const auto shown = [&](const char *code) {
            QStringList texts;
            for (int c = Model::Value; c < Model::ColumnCount; ++c)
                texts << cell(code, c).data().toString().replace(QStringLiteral("\u25CF"), QStringLiteral("*"));
            return texts.join('|');
        };
        table->setCurrentIndex(cell("dP", Model::Value));
        QTest::keyClick(table, Qt::Key_Return);
        auto *editor = table->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("4"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(rig.find<SetupItem>(QStringLiteral("PlacesItem"))->valueText(), QStringLiteral("4"));
        QVERIFY(rig.find<SetupItem>(QStringLiteral("PlacesItem"))->hasChangedMark());
        QVERIFY(rig.window->tabs()->tabText(0) == "Display (1)" && rig.captionColour() == QColor(255, 0, 0));
        QCOMPARE(shown("dP"), QStringLiteral("4||3|5|*|*|*"));
        table->setCurrentIndex(cell("Xb", Model::Value));
        QTest::keyClick(table, Qt::Key_F2);
        QTest::keyClick(table->findChild<QComboBox *>(QStringLiteral("ChoiceEditor")), Qt::Key_Down);
        QCOMPARE(rig.find<SetupItem>(QStringLiteral("CanBaudItem"))->valueText(), QStringLiteral("1000 kbps"));
        rig.find<SetupItem>(QStringLiteral("LimitUBItem(2)"))->findChild<QLineEdit *>(QStringLiteral("ValueText"))->setText("12.5");
        QCOMPARE(shown("L3U"), QStringLiteral("12.5|Inches|0.0000|0.0000|*|*|*"));
        QCOMPARE(all->findChild<QLabel *>(QStringLiteral("AllSettingsCount"))->text(),
                 QStringLiteral("86 of 86 settings shown; 3 edited, 7 not factory, 3 differ from the QTX2."));

        rig.port.device().setValue(QStringLiteral("dU"), QStringLiteral("30"));
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(model, &QAbstractItemModel::modelReset);
        rig.trigger(QStringLiteral("UploadMenu"));
        QStringList rows;
        for (const QList<QVariant> &args : std::as_const(changed))
            rows << model->settingAt(args.at(0).toModelIndex().row())->get_serstring();
        rows.removeDuplicates();
        rows.sort();
        QCOMPARE(rows.join(' ') + " " + QString::number(reset.count()), QStringLiteral("L3U Xb dP dU 0"));
        QCOMPARE(shown("dP"), QStringLiteral("5||3|5||*|"));
        rig.action(QStringLiteral("VerifyMenu"))->setChecked(false);
        rig.action(QStringLiteral("BackupMenu"))->setChecked(false);
        rig.find<SetupItem>(QStringLiteral("PlacesItem"))->findChild<QLineEdit *>(QStringLiteral("ValueText"))->setText("4");
        rig.trigger(QStringLiteral("DownloadMenu")); // what was read of dP is old, of dU not
        QCOMPARE(shown("dP") + " " + shown("dU"), QStringLiteral("4||3|||*| 30||25|30||*|"));
        rig.trigger(QStringLiteral("CompareDeviceMenu"));
        QCOMPARE(shown("dP"), QStringLiteral("4||3|4||*|"));
        rig.clickConnect();
        QCOMPARE(shown("dP"), QStringLiteral("4||3|||*|"));
        QVERIFY(all->findChild<QLabel *>(QStringLiteral("AllSettingsCount"))->text().endsWith("QTX2 values not read."));

        all->resize(640, 400);
        QTest::keyClick(table, Qt::Key_Escape);
        QVERIFY(!all->isVisible());
        QCOMPARE(AllSettingsWindow(rig.window->settings(), nullptr, nullptr).size(), QSize(640, 400));
    }

    // "Auto" at 19200 bps; disconnected from the toolbar; node 5 at 9600 bps, chosen while
    // connected, on COM3, which is stored; COM3 busy. An edit while disconnected leaves the
    // captions grey.
    void connectAndDisconnect()
    {
        ShellRig rig(false, {1, 3});
        QTest::keyClicks(rig.window->tabs()->widget(0)->findChild<QLineEdit *>(), QStringLiteral("7"));
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM1@19200bps with Node ID 0"));
        rig.checkState(true);
        rig.combo("SerBaudCombo")->setCurrentIndex(1);
        QTest::mouseClick(rig.toolbarButton(9), Qt::LeftButton);
        QCOMPARE(rig.panel1(), QStringLiteral("Disconnected"));
        rig.checkState(false);
        QVERIFY(!rig.port.isOpen());

        rig.port.clearWire();
        rig.port.device().setNode(5);
        rig.combo("SerPortCombo")->setCurrentIndex(1);
        rig.combo("SerNodeCombo")->setCurrentIndex(6);
        QTest::mouseClick(rig.toolbarButton(9), Qt::LeftButton);
        QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM3@9600bps with Node ID 5"));
        QCOMPARE(store().value(QStringLiteral("Port")).toInt(), 3);
        rig.clickConnect();
        rig.port.setBusyPorts({3});
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
        rig.checkState(false);
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    // With no port the window starts, the selector and the connect button say so; ports then
    // come and go: a new look when the selector opens and every two seconds while the window
    // is shown, the selected port kept while listed.
    void portsComeAndGo()
    {
        ShellRig rig(false, {});
        QComboBox *ports = rig.combo("SerPortCombo");
        QVERIFY(rig.started && rig.prompt.messages.isEmpty());
        QCOMPARE(rig.entries() + ports->placeholderText() + '|' + rig.connectButton()->toolTip(), "[]No serial port found|" + ConnectionPanel::noPortHelp());
        rig.clickConnect();
        QCOMPARE(rig.prompt.messages, QStringList{ConnectionPanel::noPortHelp()});
        rig.checkState(false);
        const QList<std::pair<QList<int>, QString>> steps{
            {{3}, "COM3 [COM3]"}, {{1, 3}, "COM1 COM3 [COM3]"}, {{1}, "COM1 [COM1]"}, {{1, 2}, "COM1 COM2 [COM1]"}, {{}, "[]"}};
        for (const auto &[numbers, shown] : steps) {
            rig.port.setAvailablePorts(numbers);
            QTest::mouseClick(ports, Qt::LeftButton);
            ports->hidePopup();
            QCOMPARE(rig.entries(), shown);
        }
        rig.window->show();
        rig.port.setAvailablePorts({4});
        QTRY_COMPARE_WITH_TIMEOUT(rig.entries(), QStringLiteral("COM4 [COM4]"), 3000);
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString() + rig.connectButton()->toolTip(), rig.port.describePort(4));
    }

    // An adapter pulled out while connected, idle or during a download's check: the link ends
    // at once as Disconnect does, panel 1 names the port, the port leaves the list, and the
    // check claims nothing.
    void portRemoved_data()
    {
        QTest::addColumn<bool>("walk");
        QTest::addColumn<QString>("panel2");
        QTest::newRow("idle") << false << "";
        QTest::newRow("download check") << true << "Download verify incomplete (COM3 was removed): 39 of 86 settings read";
    }
    void portRemoved()
    {
        QFETCH(bool, walk);
        QFETCH(QString, panel2);
        ShellRig rig(false, {1, 3});
        rig.combo("SerPortCombo")->setCurrentIndex(1);
        rig.clickConnect();
        rig.trigger("UploadMenu");
        rig.action("BackupMenu")->setChecked(false);
        rig.port.onWrite = [&rig, count = std::make_shared<int>(0)](const QString &message) {
            if (message.startsWith(QLatin1String("$0R")) && ++*count == 40)
                rig.port.setAvailablePorts({1});
        };
        walk ? rig.trigger("DownloadMenu") : rig.port.setAvailablePorts({1});
        QCOMPARE(rig.panel1() + '|' + rig.panel2(), "COM3 was removed|" + panel2);
        rig.checkState(false);
        QTRY_COMPARE(rig.entries(), QStringLiteral("COM1 [COM1]"));
    }

    // A refused "WE" is reported once for a whole download, and again by the node ID
    // change that follows.
    void refusedWriteEnable()
    {
        Qtx2Device device;
        AnsweringPort port;
        port.device = [&](const QString &m) { return m.endsWith(QLatin1String("WE")) ? QByteArray() : device.receive(m.toLatin1() + '\r'); };
        RecordingPrompt prompt;
        QTX2SetlinkForm window(&port, &prompt, nullptr);
        QVERIFY(window.start());
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("ConnectButton")), Qt::LeftButton);
        SerialForm::Timing timing = window.serialForm()->timing();
        timing.plainWait = 30; // for the 86 refusals
        window.serialForm()->setTiming(timing);
        window.findChild<QAction *>(QStringLiteral("DownloadMenu"))->trigger();
        QCOMPARE(prompt.messages, QStringList{"Could not un-writeprotect"});
        QVERIFY(!window.serialForm()->change_nodeid(3)); // what OK in Change Node ID does
        QCOMPARE(port.sent.mid(port.sent.size() - 2), QStringList({"$0WE", "$0SID3"}));
        QCOMPARE(prompt.messages, QStringList({"Could not un-writeprotect", "Could not un-writeprotect", "Could not change node ID"}));
    }

    // The log pane's button and menu entry, the window width and the stored state; any width
    // but the narrow one counts as shown, only the wide one is stored as shown.
    void logPane()
    {
        ShellRig rig;
        QTX2SetlinkForm &w = *rig.window;
        auto *expand = rig.find<QPushButton>(QStringLiteral("ExpandButton"));
        auto state = [&] {
            return QStringList{expand->text(), expand->toolTip(), rig.action(QStringLiteral("LogMenu"))->text(), QString::number(w.width()),
                               QString::number(rig.find<QPlainTextEdit>(QStringLiteral("LogText"))->isVisibleTo(&w)),
                               store().value(QStringLiteral("Expanded")).toString()}.join(',');
        };
        const QString hidden = QStringLiteral(">>,Show Communications Log,Show &Log,%1,0,0").arg(Twips::toPixels(8985));
        QCOMPARE(state(), hidden);
        QTest::mouseClick(expand, Qt::LeftButton);
        QCOMPARE(state(), QStringLiteral("<<,Hide Communications Log,Hide &Log,%1,1,1").arg(Twips::toPixels(12240)));
        rig.action(QStringLiteral("LogMenu"))->trigger();
        QCOMPARE(state(), hidden);
        w.setFixedWidth(Twips::toPixels(10000));
        w.save_prefs();
        QCOMPARE(store().value(QStringLiteral("Expanded")).toInt(), 0);
        QTest::mouseClick(expand, Qt::LeftButton);
        QCOMPARE(state(), hidden);
    }

    // Stored preferences as another run or program left them: only 1 is on, a port is taken
    // when listed, whole; start-up stores what it restored, and nothing else. The registry
    // keeps numbers as 16-bit signed, under the program's key only.
    void preferences_data()
    {
        QTest::addColumn<QVariantList>("stored"); // as the keys below; the safety choices are on when absent
        QTest::addColumn<QList<int>>("ports");
        QTest::addColumn<QString>("restored");
        QTest::newRow("all on") << QVariantList{1, 1, 1, 3} << QList<int>{1, 3} << "1 1 1 3 1 1";
        QTest::newRow("two is not one") << QVariantList{2, -1, 12240, "4294967299", 2, 0} << QList<int>{1, 3} << "0 0 0 1 0 0";
        QTest::newRow("one is not twelve") << QVariantList{0, 0, 0, 1, 1, 1} << QList<int>{3, 12} << "0 0 0 3 1 1";
    }
    void preferences()
    {
        QFETCH(QVariantList, stored);
        QFETCH(QList<int>, ports);
        const QStringList keys{"ReadMagnets", "AutoUpload", "Expanded", "Port", "VerifyAfterDownload", "BackupBeforeDownload"};
        clearPreferences();
        for (int i = 0; i < stored.size(); ++i)
            store().setValue(keys[i], stored[i]);
        ShellRig rig(false, ports, false);
        QStringList shown, kept;
        for (const char *menu : {"MagPosnMenu", "AutoUpMenu", "", "", "VerifyMenu", "BackupMenu"})
            shown << QString::number(*menu ? rig.action(QLatin1String(menu))->isChecked() : rig.window->width() == Twips::toPixels(12240));
        shown[3] = rig.combo("SerPortCombo")->currentText().mid(3);
        for (const QString &key : keys)
            kept << store().value(key).toString();
        QFETCH(QString, restored);
        QCOMPARE(shown.join(' ') + " / " + kept.join(' '), restored + " / " + restored);
        QCOMPARE(store().allKeys().size(), 6);
        QVariant value;
        QCOMPARE(ModRegistry::write_value("HKCU", "Software/Orvane Works/QTX2Setlink", "N", "d", 40000), ModRegistry::Success);
        QCOMPARE(ModRegistry::read_value("hkcu", ModRegistry::programKey().toUpper(), "N", "D", 42, value), ModRegistry::Success);
        QCOMPARE(value, QVariant(-25536));
        QVERIFY(ModRegistry::write_value("HKLM", ModRegistry::programKey(), "N", "D", 1) != ModRegistry::Success);
    }

    // Ctrl+U and Ctrl+D run upload and download even from a line edit that claims them
    // for its own editing, and leave its text alone.
    void shortcutsFromLineEdit()
    {
        for (const auto &[key, firstCommand] : {std::pair{Qt::Key_U, "$0RPU"}, std::pair{Qt::Key_D, "$0WE"}}) {
            ShellRig rig;
            auto *edit = new X11LineEdit(QStringLiteral("12"), rig.window->tabs()->widget(0));
            rig.window->show();
            QApplication::setActiveWindow(rig.window.get());
            QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
            rig.clickConnect();
            rig.action(QStringLiteral("BackupMenu"))->setChecked(false); // the download's own traffic first
            edit->setFocus();
            QTRY_VERIFY(edit->hasFocus());
            rig.port.clearWire();
            QTest::keyClick(edit, key, Qt::ControlModifier);
            QVERIFY(rig.commands().size() > 80 && rig.commands().first() == firstCommand);
            QCOMPARE(edit->text(), QStringLiteral("12"));
        }
    }

    // The documents open unchecked from where the program finds them: beside it in the
    // build folder, in the documentation folder once installed. The logo opens the website.
    void helpEntries()
    {
        ShellRig rig;
        rig.action(QStringLiteral("ContentsMenu"))->trigger();
        rig.action(QStringLiteral("QTX2ManualMenu"))->trigger();
        QTest::mouseClick(rig.find<QLabel>(QStringLiteral("orvaneworkswebPicture")), Qt::LeftButton);
        const HelpLinks links(nullptr);
        QCOMPARE(rig.opener.urls, (QList<QUrl>{QUrl::fromLocalFile(links.helpFilePath()), QUrl::fromLocalFile(links.manualPath()),
                                               HelpLinks::websiteUrl()}));
        // Installed, the documents are in the data folder: the documentation folder may be left out.
        for (const auto &[program, documents] : {std::pair{"build", "build"}, std::pair{"usr/bin", "usr/share/qtx2setlink"}}) {
            QTemporaryDir root;
            const QString folder = root.filePath(documents);
            QVERIFY(QDir().mkpath(root.filePath(program)) && QDir().mkpath(folder));
            QVERIFY(QFile(folder + QStringLiteral("/qtx2setlink.html")).open(QIODevice::WriteOnly));
            NoOpener opener;
            HelpLinks(&opener, root.filePath(program)).openContents();
            HelpLinks(&opener, root.filePath(program)).openManual();
            QCOMPARE(opener.urls, (QList<QUrl>{QUrl::fromLocalFile(folder + "/qtx2setlink.html"), QUrl::fromLocalFile(folder + "/QTX2.pdf")}));
        }
    }

    // Change Node ID at node `from`, over a device that answers "RMV", "RFD", "WE" and the
    // script `sid` ("$0SID7>" accepts, "$0SID7>ERR" refuses). Steps: "type T", a click on
    // "ok" or "cancel", or a key: "tab", "enter", "esc". Enter activates the focused
    // button, OK only while no button has the focus; Escape cancels.
    void nodeDialog_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("field"); // as the dialog opens
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("sid");   // empty: no "SID" may go out
        QTest::addColumn<int>("to");        // the node ID afterwards; -1: the dialog stays open
        QTest::newRow("at 4") << 4 << "4" << "ok" << "$4SID4>" << 4;
        QTest::newRow("at 0: empty, sends 0") << 0 << "" << "ok" << "$0SID0>" << 0;
        QTest::newRow("halves to even") << 0 << "" << "type 2.5 volts,ok" << "$0SID2>" << 2;
        QTest::newRow("Enter in the field") << 0 << "" << "type 5,enter" << "$0SID5>" << 5;
        QTest::newRow("Enter on OK") << 0 << "" << "type 7,tab,enter" << "$0SID7>" << 7;
        QTest::newRow("Enter on Cancel") << 0 << "" << "type 7,tab,tab,enter" << "" << 0;
        QTest::newRow("Escape") << 0 << "" << "type 7,esc" << "" << 0;
        QTest::newRow("Cancel clicked") << 4 << "4" << "type 2,cancel" << "" << 4;
        QTest::newRow("40000") << 2 << "2" << "type 40000,ok" << "" << -1;
        QTest::newRow("32767.5") << 2 << "2" << "type 32767.5,ok" << "" << -1;
        QTest::newRow("corrected") << 2 << "2" << "type 40000,ok,type 32767,ok" << "$2SID32767>" << 32767;
        QTest::newRow("refused") << 3 << "3" << "type 6,ok" << "$3SID6>ERR" << 3;
    }
    void nodeDialog()
    {
        QFETCH(int, from);
        QFETCH(QString, field);
        QFETCH(QString, steps);
        QFETCH(QString, sid);
        QFETCH(int, to);
        AnsweringPort port;
        port.answer(QStringLiteral("$%1RMV>QTXv2;$%1RFD>;$%1WE>;").arg(from) + sid);
        RecordingPrompt prompt;
        SerialForm link(&port, &prompt);
        link.scanPorts();
        QVERIFY(link.open_qtx(QStringLiteral("COM1"), QStringLiteral("19200 bps"), qint16(from)));
        NodeIDForm form(&link, &prompt);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *combo = form.findChild<QComboBox *>(QStringLiteral("NodeCombo"));
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("CurNodeLabel"))->text() + '|' + combo->currentText(),
                 QStringLiteral("Current Node ID: %1|").arg(from) + field);
        for (const QString &step : steps.split(QLatin1Char(','))) {
            if (step.startsWith(QLatin1String("type")))
                combo->lineEdit()->selectAll(), QTest::keyClicks(combo->lineEdit(), step.mid(5));
            else if (step == QLatin1String("ok") || step == QLatin1String("cancel"))
                QTest::mouseClick(form.findChild<QPushButton *>(step == "ok" ? "OKButton" : "CancelButton"), Qt::LeftButton);
            else
                press(&form, step == "tab" ? Qt::Key_Tab : step == "enter" ? Qt::Key_Return : Qt::Key_Escape);
        }
        QCOMPARE(port.sent.filter(QStringLiteral("SID")), sid.isEmpty() ? QStringList() : QStringList{sid.section('>', 0, 0)});
        QCOMPARE(form.isVisible(), to == -1);
        QCOMPARE(link.get_nodeid(), qint16(to == -1 ? from : to));
        const bool failed = sid.endsWith(QLatin1String("ERR"));
        QStringList messages{QStringLiteral("Node ID must be a whole number from -32768 to 32767"), QStringLiteral("Could not change node ID")};
        QCOMPARE(prompt.messages, messages.mid(to == -1 || steps.contains("40000") ? 0 : 1, (to == -1 || steps.contains("40000")) + failed));
        QCOMPARE(combo->count(), 9); // typed text never joins the list
        QCOMPARE(form.result(), int(sid.isEmpty() || failed ? QDialog::Rejected : QDialog::Accepted));
    }

    // Both dialogs are modal, with a fixed border and no minimize or maximize button.
    void shapes()
    {
        NodeIDForm form(nullptr, nullptr);
        AboutBox about(nullptr);
        QStringList texts;
        for (QDialog *dialog : {static_cast<QDialog *>(&form), static_cast<QDialog *>(&about)}) {
            dialog->show();
            QVERIFY(dialog->isModal() && dialog->minimumSize() == dialog->maximumSize());
            QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            texts << dialog->windowTitle();
            for (QLabel *label : dialog->findChildren<QLabel *>())
                texts << label->objectName() + '=' + label->text();
            for (QPushButton *button : dialog->findChildren<QPushButton *>())
                texts << button->objectName() + '=' + button->text() + (button->isDefault() ? "*" : "");
        }
        auto *combo = form.findChild<QComboBox *>(QStringLiteral("NodeCombo"));
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        QCOMPARE(texts.join('|'), "Change Node ID|CurNodeLabel=Current Node ID: 0|NewNodeLabel=New Node ID:|OKButton=OK*|CancelButton=Cancel|"
                                  "About QTX Setlink|Picture1=|Label2=" + HelpLinks::websiteUrl().toString() + "|Label1(0)="
                                      + AboutBox::versionLine() + "|Label1(1)=Setup and position monitor for the QTX2 panel display|"
                                      "LicenseLabel=" + AboutBox::licenceText() + "|Command1=OK*|AboutQtButton=About Qt|1|2|3|4|5|6|7|8|9");
        QVERIFY(AboutBox::licenceText().contains("GNU General Public License, version 3 or later (GPL-3.0-or-later)"));
        QVERIFY(combo->isEditable() && HelpLinks::websiteUrl().host().endsWith(".example")); // a placeholder, never a real site
        const QString version = QStringLiteral("QTX2 Setlink v%1.%2.%3 (").arg(SETLINK_VERSION_MAJOR).arg(SETLINK_VERSION_MINOR).arg(SETLINK_VERSION_PATCH);
        QVERIFY2(AboutBox::versionLine().startsWith(version) && AboutBox::versionLine().endsWith(QSysInfo::buildCpuArchitecture() + ')'),
                 qPrintable(AboutBox::versionLine()));
    }

    // Percentages show at most once a frame, the newest; the first of a walk and any other
    // text at once.
    void progressFrames()
    {
        QWidget window;
        auto *panel = new QLabel(&window);
        ProgressPanel progress(panel, new QProgressBar(&window), &window);
        window.show();
        const auto text = [panel] { return panel->text(); };
        progress.show("Up 1%");
        QCOMPARE(text(), "Up 1%");
        progress.show("Up 2%");
        progress.show("Up 3%");
        QCOMPARE(text(), "Up 1%");
        QTRY_COMPARE(text(), "Up 3%");
        progress.show("Up 4%"); // a frame after the last shown, not at once
        QCOMPARE(text(), "Up 3%");
        QTRY_COMPARE(text(), "Up 4%");
        progress.show("Done");
        QCOMPARE(text(), "Done");
        progress.show("Up 5%");
        QCOMPARE(text(), "Up 5%");
    }

    // The kept looks are the style's own, for the value and state now shown, after changes
    // of value, state and size.
    void cachedProgressBar()
    {
        QWidget host;
        QProgressBar plain(&host);
        CachedProgressBar cached(&host);
        const std::initializer_list<QProgressBar *> both{&plain, &cached};
        for (QProgressBar *bar : both) {
            bar->setTextVisible(false);
            bar->resize(90, 14);
        }
        host.show();
        for (const int step : {0, 35, 100, 35, -1, 35, -2, 70}) {
            for (QProgressBar *bar : both) {
                if (step == -1)
                    bar->setEnabled(!bar->isEnabled());
                else if (step == -2)
                    bar->resize(60, 14);
                else
                    bar->setValue(step);
            }
            // Drawn on a picture first and then on the bar: blending may round a channel apart.
            const QImage a = plain.grab().toImage(), b = cached.grab().toImage().convertToFormat(a.format());
            QVERIFY2(a.size() == b.size() && std::equal(a.constBits(), a.constBits() + a.sizeInBytes(), b.constBits(),
                                                        [](uchar x, uchar y) { return qAbs(x - y) <= 2; }),
                     qPrintable(QString::number(step)));
        }
    }

    // The logo and the address open the website and leave the box up; OK, Enter and Escape
    // close it. The logo is drawn, in several colours.
    void aboutBox()
    {
        for (int key : {0, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            NoOpener opener;
            AboutBox box(&opener);
            box.show();
            QVERIFY(QTest::qWaitForWindowActive(&box));
            for (const char *name : {"Picture1", "Label2", "Label1(1)"})
                QTest::mouseClick(box.findChild<QWidget *>(QLatin1String(name)), Qt::LeftButton);
            QTest::mouseClick(box.findChild<QWidget *>(QStringLiteral("Picture1")), Qt::RightButton);
            QVERIFY(opener.urls == QList<QUrl>(2, HelpLinks::websiteUrl()) && box.isVisible());
            QString aboutQt;
            QTimer::singleShot(0, &box, [&aboutQt] {
                if (auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    aboutQt = shown->windowTitle();
                    shown->close();
                }
            });
            auto *aboutQtButton = box.findChild<QPushButton *>(QStringLiteral("AboutQtButton"));
            QVERIFY(aboutQtButton);
            QTest::mouseClick(aboutQtButton, Qt::LeftButton);
            QCOMPARE(aboutQt, QStringLiteral("About Qt"));
            key ? press(&box, Qt::Key(key)) : QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
            QVERIFY(!box.isVisible());
            QCOMPARE(box.result(), int(key == Qt::Key_Escape ? QDialog::Rejected : QDialog::Accepted));
        }
        HelpLinks(nullptr).openManual(); // no opener: nothing happens
        const QImage logo = LogoLabel::logo(QSize(90, 60)).toImage();
        QSet<QRgb> colours;
        for (int i = 0; i < logo.width() * logo.height(); i += 7)
            colours.insert(logo.pixel(i % logo.width(), i / logo.width()));
        QVERIFY(colours.size() > 3);
    }

    // The message box: the program's title, no icon, one OK button beside the details;
    // Enter on the focused details button shows them, Enter then closes the box.
    void messageBox()
    {
        QWidget parent;
        DialogPrompt prompt(&parent);
        QStringList seen;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            seen << box->windowTitle() << box->text() << box->detailedText() << QString::number(box->icon())
                 << QString::number(box->standardButtons());
            for (QPushButton *button : box->findChildren<QPushButton *>())
                if (button != box->button(QMessageBox::Ok))
                    button->setFocus();
            press(box, Qt::Key_Return);
            seen << QString::number(box->isVisible());
            box->button(QMessageBox::Ok)->setFocus();
            press(box, Qt::Key_Return);
        });
        prompt.message(QStringLiteral("At least one COM port must be available."), QStringLiteral("COM1: busy"));
        QCOMPARE(seen, QStringList({"QTX2 Setlink", "At least one COM port must be available.", "COM1: busy",
                                    QString::number(QMessageBox::NoIcon), QString::number(QMessageBox::Ok), "1"}));

        // A question: Enter and Escape give the answer that changes nothing; a list starts on its first entry.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QTimer::singleShot(0, this, [key] { QTest::keyClick(QApplication::activeModalWidget(), key); });
            QVERIFY(!prompt.question(QStringLiteral("Reset without a backup?"), QStringLiteral("Go On"), QStringLiteral("Stop")));
        }
        QTimer::singleShot(0, this, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        QCOMPARE(prompt.choose(QStringLiteral("Open which backup?"), {"newest", "older"}, QStringLiteral("Open")), 0);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
