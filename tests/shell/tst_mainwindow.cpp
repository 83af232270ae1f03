#include "RecordingPrompt.h"
#include "SimPort.h"
#include "link/SerialForm.h"
#include "shell/DesktopOpener.h"
#include "shell/HelpLinks.h"
#include "shell/LogPane.h"
#include "shell/QTX2SetlinkForm.h"
#include "shell/Twips.h"

#include "transfer/TransferCommands.h"

#include <QAction>
#include <QGroupBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QDeadlineTimer>
#include <QToolBar>
#include <QtTest>

namespace {

class RecordingOpener : public DesktopOpener
{
public:
    void openUrl(const QUrl &url) override { urls << url; }
    QList<QUrl> urls;
};

// A line edit with the X11 editing keys: Ctrl+U deletes to the start of the line and
// Ctrl+D deletes the next character, and it claims both before any shortcut, as QLineEdit
// does under the X11 key bindings (the offscreen platform uses other bindings).
class X11LineEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    static bool isEditingKey(const QKeyEvent *e)
    {
        return e->modifiers() == Qt::ControlModifier && (e->key() == Qt::Key_U || e->key() == Qt::Key_D);
    }
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::ShortcutOverride && isEditingKey(static_cast<QKeyEvent *>(e))) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        if (isEditingKey(e)) {
            if (e->key() == Qt::Key_U)
                clear();
            else
                del();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }
};

QSettings store()
{
    return QSettings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink"));
}

// A window over the simulated device, started as the program starts it.
struct Rig
{
    explicit Rig(const QList<int> &ports = {1}, bool realQuit = false)
    {
        port.setAvailablePorts(ports);
        window = std::make_unique<QTX2SetlinkForm>(&port, &prompt, &opener);
        if (!realQuit)
            window->setQuitHandler([this] { ++quits; });
        started = window->start();
    }
    template <typename T> T *find(const QString &name) const
    {
        T *child = window->findChild<T *>(name);
        if (!child)
            qWarning("no control %s", qPrintable(name));
        return child;
    }
    QAction *action(const QString &name) const { return find<QAction>(name); }
    QString panel1() const { return find<QLabel>(QStringLiteral("StatBarPanel1"))->text(); }
    QPushButton *connectButton() const { return find<QPushButton>(QStringLiteral("ConnectButton")); }
    QToolBar *toolbar() const { return find<QToolBar>(QStringLiteral("tbToolBar")); }
    QAction *toolbarAt(int position) const { return toolbar()->actions().at(position - 1); }
    QWidget *toolbarButton(int position) const { return toolbar()->widgetForAction(toolbarAt(position)); }
    QColor captionColour() const { return window->tabs()->tabBar()->tabTextColor(0); }
    QColor grey() const { return window->palette().color(QPalette::Disabled, QPalette::WindowText); }
    void clickConnect() const { QTest::mouseClick(connectButton(), Qt::LeftButton); }
    // Commands sent, without the position polls.
    QStringList commands() const
    {
        QStringList out;
        for (const QString &m : port.sentMessages())
            if (!LogPane::isPositionPoll(m))
                out << m;
        return out;
    }
    void activate() const
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    SimPort port;
    RecordingPrompt prompt;
    RecordingOpener opener;
    std::unique_ptr<QTX2SetlinkForm> window;
    bool started = false;
    int quits = 0;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    void checkConnectedState(const Rig &rig, bool connected)
    {
        QCOMPARE(rig.connectButton()->text(), connected ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("SerPortCombo"))->isEnabled(), !connected);
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->isEnabled(), !connected);
        QVERIFY(rig.find<QComboBox>(QStringLiteral("SerBaudCombo"))->isEnabled());
        for (const char *name : {"DownloadMenu", "UploadMenu", "NodeMenu"})
            QCOMPARE(rig.action(QLatin1String(name))->isEnabled(), connected);
        QCOMPARE(rig.toolbarButton(6)->isEnabled(), connected);
        QCOMPARE(rig.toolbarButton(7)->isEnabled(), connected);
        QCOMPARE(rig.toolbarAt(9)->isChecked(), connected);
        for (const char *name : {"LoadMenu", "SaveMenu", "ExitMenu", "ResetUnitsMenu", "MenuFactory", "AutoUpMenu",
                                 "MagPosnMenu", "LogMenu", "ContentsMenu", "QTX2ManualMenu", "AboutMenu"})
            QVERIFY2(rig.action(QLatin1String(name))->isEnabled(), name);
        for (int position : {1, 3, 4, 9})
            QVERIFY(rig.toolbarButton(position)->isEnabled());
        if (!connected) {
            QCOMPARE(rig.captionColour(), rig.grey());
            QCOMPARE(rig.find<QLabel>(QStringLiteral("DispPosnLabel"))->text(), QString());
        }
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }
    void init()
    {
        QSettings s = store();
        s.clear();
        s.sync();
    }

    void startupState()
    {
        Rig rig({1, 3});
        QVERIFY(rig.started);
        QTX2SetlinkForm &w = *rig.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("QTX2 Setlink"));
        QCOMPARE(w.size(), QSize(Twips::toPixels(8985), Twips::toPixels(8175)));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));

        auto *ports = rig.find<QComboBox>(QStringLiteral("SerPortCombo"));
        QCOMPARE(ports->count(), 2);
        QCOMPARE(ports->itemText(0), QStringLiteral("COM1"));
        QCOMPARE(ports->itemText(1), QStringLiteral("COM3"));
        QCOMPARE(ports->currentText(), QStringLiteral("COM1"));
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), rig.port.describePort(3));
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("SerBaudCombo"))->currentText(), QStringLiteral("19200 bps"));
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->currentText(), QStringLiteral("Auto"));
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->count(), 11);
        QCOMPARE(rig.find<QGroupBox>(QStringLiteral("Frame1"))->title(), QStringLiteral("Connection"));
        QCOMPARE(rig.panel1(), QStringLiteral("Disconnected"));
        QCOMPARE(rig.find<QLabel>(QStringLiteral("StatBarPanel2"))->text(), QString());
        checkConnectedState(rig, false);

        QCOMPARE(w.tabs()->count(), 8);
        QCOMPARE(w.tabs()->currentIndex(), 0);
        QCOMPARE(w.tabs()->tabText(0), QStringLiteral("Display"));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(w.tabs()->tabBar()->tabTextColor(i), rig.grey());
        auto *timer = rig.find<QTimer>(QStringLiteral("PositionTimer"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 250);
        QCOMPARE(rig.find<QWidget>(QStringLiteral("MagPosn(14)"))->findChildren<QLabel *>().size() >= 2, true);
        QVERIFY(!rig.port.isOpen());
        QVERIFY(rig.prompt.messages.isEmpty());
        // Nothing of the main column reaches past the window's edges.
        w.show();
        for (QWidget *child : w.findChildren<QWidget *>()) {
            if (child->isVisible() && !child->isWindow())
                QVERIFY2(w.rect().contains(QRect(child->mapTo(&w, QPoint(0, 0)), child->size())),
                         qPrintable(child->objectName()));
        }
    }

    void noPortEndsStartUp()
    {
        Rig rig(QList<int>{});
        QVERIFY(!rig.started);
        QCOMPARE(rig.prompt.messages.size(), 1);
    }

    // Every entry where the user expects it, with its shortcut; the toolbar's positions.
    void menusAndToolbar()
    {
        Rig rig;
        const QList<QStringList> entries{
            {"FileMenu", "LoadMenu", "SaveMenu", "RestoreBackupMenu", "ExitMenu"},
            {"TransferMenu", "DownloadMenu", "UploadMenu", "CompareDeviceMenu", "CompareFileMenu"},
            {"ToolsMenu", "NodeMenu", "ResetUnitsMenu", "MenuFactory"},
            {"OptionsMenu", "AutoUpMenu", "MagPosnMenu", "VerifyMenu", "BackupMenu", "LogMenu"},
            {"HelpMenu", "ContentsMenu", "QTX2ManualMenu", "", "AboutMenu"}};
        QStringList titles;
        for (const QStringList &entry : entries) {
            auto *menu = rig.find<QMenu>(entry[0]);
            titles << menu->title();
            QStringList names;
            for (QAction *a : menu->actions())
                names << a->objectName();
            QCOMPARE(names, entry.mid(1));
        }
        QCOMPARE(titles, QStringList({"&File", "&Transfer", "Too&ls", "&Options", "&Help"}));
        QCOMPARE(rig.action("UploadMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
        QCOMPARE(rig.action("DownloadMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        QCOMPARE(rig.action("LoadMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(rig.action("SaveMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        for (const char *option : {"AutoUpMenu", "MagPosnMenu", "VerifyMenu", "BackupMenu"})
            QVERIFY(rig.action(option)->isCheckable());

        const QList<QAction *> tools = rig.toolbar()->actions();
        const QStringList tips{"Exit", "", "Open", "Save", "", "Upload settings from the QTX",
                               "Download settings to the QTX", "", "Connect"};
        QCOMPARE(tools.size(), tips.size());
        for (int i = 0; i < tips.size(); ++i) {
            QCOMPARE(tools[i]->isSeparator(), tips[i].isEmpty());
            QCOMPARE(tools[i]->isSeparator() ? QString() : tools[i]->toolTip(), tips[i]);
        }
        QVERIFY(tools[8]->isCheckable());
        QCOMPARE(tools[5], rig.action("UploadMenu"));
    }

    void connectAndDisconnect()
    {
        Rig rig({1, 3});
        QSignalSpy exchanges(rig.window->serialForm(), &SerialForm::exchanged);
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM1@19200bps with Node ID 0"));
        checkConnectedState(rig, true);
        QCOMPARE(rig.port.sentMessages().mid(0, 3), QStringList({"$0RID", "$0RMV", "$0RFD"}));
        QCOMPARE(rig.port.settings(), QStringLiteral("19200,n,8,1"));
        // Every exchange reached the log; position polls are held back.
        QVERIFY(rig.window->logPane()->text().contains(QStringLiteral(": $0RMV -> QTXv2.05\r\n")));
        QTRY_VERIFY_WITH_TIMEOUT(rig.port.sentMessages().contains(QStringLiteral("$0RD")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.find<QLabel>(QStringLiteral("DispPosnLabel"))->text().isEmpty(), 10000);
        QVERIFY(!rig.window->logPane()->text().contains(QStringLiteral("$0RD ")));

        // The speed stays selectable while connected and is used at the next connection.
        rig.find<QComboBox>(QStringLiteral("SerBaudCombo"))->setCurrentIndex(1);

        QTest::mouseClick(rig.toolbarButton(9), Qt::LeftButton);
        QCOMPARE(rig.panel1(), QStringLiteral("Disconnected"));
        checkConnectedState(rig, false);
        QVERIFY(!rig.port.isOpen());

        rig.port.clearWire();
        rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->setCurrentIndex(1); // "0"
        QTest::mouseClick(rig.toolbarButton(9), Qt::LeftButton);
        QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM1@9600bps with Node ID 0"));
        QCOMPARE(rig.port.settings(), QStringLiteral("9600,n,8,1"));
        QCOMPARE(rig.port.sentMessages().first(), QStringLiteral("$0RMV"));
        checkConnectedState(rig, true);
        rig.clickConnect();
        checkConnectedState(rig, false);
    }

    void chosenPortAndNode()
    {
        Rig rig({1, 3});
        rig.port.device().setNode(5);
        rig.find<QComboBox>(QStringLiteral("SerPortCombo"))->setCurrentIndex(1);
        rig.find<QComboBox>(QStringLiteral("SerNodeCombo"))->setCurrentIndex(6); // "5"
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Connected to QTXv2.05 on COM3@19200bps with Node ID 5"));
        QCOMPARE(rig.port.portNumber(), 3);
        QCOMPARE(rig.port.sentMessages().mid(0, 2), QStringList({"$5RMV", "$5RFD"}));
        QCOMPARE(store().value(QStringLiteral("Port")).toInt(), 3);
    }

    void connectFailure_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("silent device") << "silent";
        QTest::newRow("other identity") << "identity";
        QTest::newRow("busy port") << "busy";
    }
    void connectFailure()
    {
        QFETCH(QString, fault);
        Rig rig({1});
        if (fault == QLatin1String("silent"))
            rig.port.device().faults().silent = true;
        else if (fault == QLatin1String("identity"))
            rig.port.device().setVersion(QStringLiteral("QTXv1.9"));
        else
            rig.port.setBusyPorts({1});
        rig.clickConnect();
        QCOMPARE(rig.panel1(), QStringLiteral("Timeout attempting to connect to QTX2"));
        checkConnectedState(rig, false);
        QVERIFY(!rig.port.isOpen());
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void autoUploadOnConnect_data()
    {
        QTest::addColumn<bool>("autoUpload");
        QTest::newRow("checked") << true;
        QTest::newRow("unchecked") << false;
    }
    void autoUploadOnConnect()
    {
        QFETCH(bool, autoUpload);
        Rig rig;
        if (autoUpload)
            rig.action(QStringLiteral("AutoUpMenu"))->trigger();
        QCOMPARE(store().value(QStringLiteral("AutoUpload")).toInt(), autoUpload ? 1 : 0);
        QStringList progress;
        connect(rig.window->transferCommands(), &TransferCommands::progress, this,
                [&](const QString &text) { progress << text; });
        rig.clickConnect();
        checkConnectedState(rig, true);
        const QStringList sent = rig.commands();
        if (autoUpload) {
            QCOMPARE(sent.mid(0, 4), QStringList({"$0RID", "$0RMV", "$0RFD", "$0RPU"}));
            QVERIFY(sent.size() > 80);
            QCOMPARE(progress.first(), QStringLiteral("Uploading...    1%"));
            QCOMPARE(progress.last(), QString());
            QCOMPARE(rig.captionColour(), QColor(Qt::black));
        } else {
            QCOMPARE(sent, QStringList({"$0RID", "$0RMV", "$0RFD"}));
            QVERIFY(progress.isEmpty());
            QCOMPARE(rig.captionColour(), rig.grey());
        }
        QCOMPARE(rig.find<QLabel>(QStringLiteral("StatBarPanel2"))->text(), QString());
    }

    void editMarksCaptions()
    {
        Rig rig;
        auto *edit = rig.window->tabs()->widget(0)->findChild<QLineEdit *>();
        QVERIFY(edit);
        QTest::keyClicks(edit, QStringLiteral("7"));
        QCOMPARE(rig.captionColour(), rig.grey());
        rig.clickConnect();
        QTest::keyClicks(edit, QStringLiteral("1"));
        QCOMPARE(rig.captionColour(), QColor(255, 0, 0));
        rig.action(QStringLiteral("DownloadMenu"))->trigger();
        QCOMPARE(rig.captionColour(), QColor(Qt::black));
        rig.clickConnect();
        QCOMPARE(rig.captionColour(), rig.grey());
    }

    void logPaneShowHide()
    {
        Rig rig;
        QTX2SetlinkForm &w = *rig.window;
        auto *expand = rig.find<QPushButton>(QStringLiteral("ExpandButton"));
        auto *log = rig.find<QPlainTextEdit>(QStringLiteral("LogText"));
        QCOMPARE(expand->text(), QStringLiteral(">>"));
        QCOMPARE(expand->toolTip(), QStringLiteral("Show Communications Log"));
        QVERIFY(!log->isVisibleTo(&w));

        QTest::mouseClick(expand, Qt::LeftButton);
        QCOMPARE(w.width(), Twips::toPixels(12240));
        QCOMPARE(w.height(), Twips::toPixels(8175));
        QCOMPARE(expand->text(), QStringLiteral("<<"));
        QCOMPARE(expand->toolTip(), QStringLiteral("Hide Communications Log"));
        QCOMPARE(rig.action(QStringLiteral("LogMenu"))->text(), QStringLiteral("Hide &Log"));
        QVERIFY(log->isVisibleTo(&w));
        QCOMPARE(store().value(QStringLiteral("Expanded")).toInt(), 1);

        rig.action(QStringLiteral("LogMenu"))->trigger();
        QCOMPARE(w.width(), Twips::toPixels(8985));
        QCOMPARE(expand->text(), QStringLiteral(">>"));
        QCOMPARE(rig.action(QStringLiteral("LogMenu"))->text(), QStringLiteral("Show &Log"));
        QCOMPARE(store().value(QStringLiteral("Expanded")).toInt(), 0);

        // Any width but the narrow one counts as shown for the click; only the wide one
        // is stored as shown.
        w.setFixedWidth(Twips::toPixels(10000));
        w.save_prefs();
        QCOMPARE(store().value(QStringLiteral("Expanded")).toInt(), 0);
        QTest::mouseClick(expand, Qt::LeftButton);
        QCOMPARE(w.width(), Twips::toPixels(8985));
    }

    // Stored preferences as another run (or another program) left them. Only 1 means on; a
    // port is taken only when it is listed, and a two-digit one is not read as its first digit.
    void preferencesRestore_data()
    {
        QTest::addColumn<QVariantList>("stored"); // as keys below; empty: none
        QTest::addColumn<QList<int>>("ports");
        QTest::addColumn<QString>("on"); // "m" magnets, "a" auto-upload, "e" log shown, "v" verify, "b" backup
        QTest::addColumn<QString>("selected");
        const QList<int> p13{1, 3};
        // A store from before the safety choices existed keeps them on.
        QTest::newRow("first start") << QVariantList() << QList<int>{2, 5} << "vb" << "COM2";
        QTest::newRow("all on") << QVariantList{1, 1, 1, 3} << p13 << "maevb" << "COM3";
        QTest::newRow("two is not one") << QVariantList{2, -1, 12240, 1, 2, 0} << p13 << "" << "COM1";
        QTest::newRow("port not listed") << QVariantList{0, 0, 0, 7, 1} << p13 << "vb" << "COM1";
        QTest::newRow("texts are not numbers")
            << QVariantList{"yes", "1x", QStringList{"1", "1"}, "COM3"} << p13 << "vb" << "COM1";
        QTest::newRow("beyond 32 bits") << QVariantList{"4294967297", 0, 0, "4294967299"} << p13 << "vb" << "COM1";
        QTest::newRow("two-digit port") << QVariantList{0, 0, 0, 12} << QList<int>{1, 2, 12} << "vb" << "COM12";
        QTest::newRow("one is not twelve") << QVariantList{0, 0, 0, 1} << QList<int>{3, 12} << "vb" << "COM3";
        QTest::newRow("one digit port") << QVariantList{1, 0, 0, 5} << QList<int>{2, 5, 15} << "mvb" << "COM5";
    }
    void preferencesRestore()
    {
        QFETCH(QVariantList, stored);
        QFETCH(QList<int>, ports);
        QFETCH(QString, on);
        QFETCH(QString, selected);
        const QStringList keys{"ReadMagnets", "AutoUpload", "Expanded", "Port", "VerifyAfterDownload", "BackupBeforeDownload"};
        {
            QSettings s = store();
            for (int i = 0; i < stored.size(); ++i)
                s.setValue(keys[i], stored[i]);
        }
        Rig rig(ports);
        const bool shown = on.contains('e');
        QCOMPARE(rig.action(QStringLiteral("MagPosnMenu"))->isChecked(), on.contains('m'));
        QCOMPARE(rig.action(QStringLiteral("AutoUpMenu"))->isChecked(), on.contains('a'));
        QCOMPARE(rig.action(QStringLiteral("VerifyMenu"))->isChecked(), on.contains('v'));
        QCOMPARE(rig.action(QStringLiteral("BackupMenu"))->isChecked(), on.contains('b'));
        QCOMPARE(rig.window->isLogShown(), shown);
        QCOMPARE(rig.window->width(), Twips::toPixels(shown ? 12240 : 8985));
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("SerPortCombo"))->currentText(), selected);
        // Start-up stores what it restored, and nothing else.
        QSettings s = store();
        QCOMPARE(s.allKeys().size(), 6);
        const QList<int> expected{on.contains('m'), on.contains('a'), shown, selected.mid(3).toInt(), on.contains('v'),
                                  on.contains('b')};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(s.value(keys[i]).toInt(), expected[i]);
    }

    void optionClicksAreStored()
    {
        Rig rig;
        rig.action(QStringLiteral("MagPosnMenu"))->trigger();
        QCOMPARE(store().value(QStringLiteral("ReadMagnets")).toInt(), 1);
        rig.action(QStringLiteral("MagPosnMenu"))->trigger();
        QCOMPARE(store().value(QStringLiteral("ReadMagnets")).toInt(), 0);
        rig.action(QStringLiteral("AutoUpMenu"))->trigger();
        QCOMPARE(store().value(QStringLiteral("AutoUpload")).toInt(), 1);
        // Restored by the next run.
        Rig next;
        QVERIFY(next.action(QStringLiteral("AutoUpMenu"))->isChecked());
        QVERIFY(!next.action(QStringLiteral("MagPosnMenu"))->isChecked());
    }

    void shortcutsFromLineEdit_data()
    {
        QTest::addColumn<bool>("x11Editor");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("firstCommand");
        QTest::newRow("item editor, Ctrl+U uploads") << false << int(Qt::Key_U) << "$0RPU";
        QTest::newRow("item editor, Ctrl+D downloads") << false << int(Qt::Key_D) << "$0WE";
        QTest::newRow("X11 editor, Ctrl+U uploads") << true << int(Qt::Key_U) << "$0RPU";
        QTest::newRow("X11 editor, Ctrl+D downloads") << true << int(Qt::Key_D) << "$0WE";
    }
    void shortcutsFromLineEdit()
    {
        QFETCH(bool, x11Editor);
        QFETCH(int, key);
        QFETCH(QString, firstCommand);
        Rig rig;
        QWidget *page = rig.window->tabs()->widget(0);
        QLineEdit *edit = x11Editor ? new X11LineEdit(page) : page->findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->show();
        rig.activate();
        rig.clickConnect();
        rig.action(QStringLiteral("BackupMenu"))->setChecked(false); // the download's own traffic first
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->setText(QStringLiteral("12"));
        edit->setCursorPosition(1);
        rig.port.clearWire();
        // The command runs its whole walk before the key press returns.
        QTest::keyClick(edit, Qt::Key(key), Qt::ControlModifier);
        QVERIFY(rig.commands().size() > 80);
        QCOMPARE(rig.commands().first(), firstCommand);
        if (x11Editor)
            QCOMPARE(edit->text(), QStringLiteral("12"));
    }

    void exitCommands()
    {
        for (int way = 0; way < 3; ++way) {
            Rig rig;
            rig.window->show();
            if (way == 0)
                rig.action(QStringLiteral("ExitMenu"))->trigger();
            else if (way == 1)
                QTest::mouseClick(rig.toolbarButton(1), Qt::LeftButton);
            else
                rig.window->close();
            QCOMPARE(rig.quits, 1);
            QVERIFY(rig.prompt.messages.isEmpty());
        }
    }

    // Closing or exiting while an upload waits for a slow reply ends the program's own event
    // loop at once: the link closes, the waiting exchange returns, the walk sends no more.
    void closeWhileExchangeWaits_data()
    {
        QTest::addColumn<bool>("exitMenu");
        QTest::newRow("window closed") << false;
        QTest::newRow("Exit") << true;
    }
    void closeWhileExchangeWaits()
    {
        QFETCH(bool, exitMenu);
        Rig rig({1}, true);
        rig.window->show();
        rig.clickConnect();
        rig.port.device().faults().commandLatencyMs.insert(QStringLiteral("R"), 30000);
        SerialForm::Timing timing = rig.window->serialForm()->timing();
        timing.plainWait = 60000;
        rig.window->serialForm()->setTiming(timing);
        rig.port.clearWire();
        bool closedDuringWait = false;
        QTimer::singleShot(0, rig.window.get(), [&] { rig.action(QStringLiteral("UploadMenu"))->trigger(); });
        QTimer::singleShot(200, rig.window.get(), [&] {
            closedDuringWait = rig.window->serialForm()->is_busy();
            if (exitMenu)
                rig.action(QStringLiteral("ExitMenu"))->trigger();
            else
                rig.window->close();
        });
        QDeadlineTimer deadline(30000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!deadline.hasExpired());
        QVERIFY(closedDuringWait);
        QVERIFY(!rig.port.isOpen());
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.commands(), QStringList({"$0RPU"}));
    }

    // The documents open unchecked from where the program finds them; the logo opens the website.
    void helpEntries()
    {
        Rig rig;
        rig.action(QStringLiteral("ContentsMenu"))->trigger();
        rig.action(QStringLiteral("QTX2ManualMenu"))->trigger();
        QTest::mouseClick(rig.find<QLabel>(QStringLiteral("orvaneworkswebPicture")), Qt::LeftButton);
        const HelpLinks links(nullptr);
        QCOMPARE(rig.opener.urls, (QList<QUrl>{QUrl::fromLocalFile(links.helpFilePath()),
                                               QUrl::fromLocalFile(links.manualPath()), HelpLinks::websiteUrl()}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
