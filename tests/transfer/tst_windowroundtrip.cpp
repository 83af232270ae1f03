#include "RecordingPrompt.h"
#include "SimPort.h"
#include "shell/DesktopOpener.h"
#include "shell/QTX2SetlinkForm.h"
#include "model/Setting.h"
#include "model/SettingsSet.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class NoOpener : public DesktopOpener
{
public:
    void openUrl(const QUrl &) override {}
};

} // namespace

// A technician's round trip through the window's own menus against the simulated QTX2:
// what is written reaches the device, survives a reconnection, a settings file and a
// factory reset.
class TestWindowRoundTrip : public QObject
{
    Q_OBJECT

    SimPort port;
    RecordingPrompt prompt;
    NoOpener opener;
    std::unique_ptr<QTX2SetlinkForm> window;
    QTemporaryDir dir;

    template <typename T> T *find(const QString &name) { return window->findChild<T *>(name); }
    void trigger(const QString &action) { find<QAction>(action)->trigger(); }
    QString value(const QString &item) { return find<QWidget>(item)->findChild<QLineEdit *>("ValueText")->text(); }
    QString choice(const QString &item) { return find<QWidget>(item)->findChild<QComboBox *>("ListCombo")->currentText(); }
    void type(const QString &item, const QString &text)
    {
        auto *edit = find<QWidget>(item)->findChild<QLineEdit *>("ValueText");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    void clickConnect() { QTest::mouseClick(find<QPushButton>("ConnectButton"), Qt::LeftButton); }
    QString panel1() { return find<QLabel>("StatBarPanel1")->text(); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings("Orvane Works", "QTX2Setlink").clear();
        window = std::make_unique<QTX2SetlinkForm>(&port, &prompt, &opener);
        window->setQuitHandler([] {});
        QVERIFY(window->start());
        window->show();
    }
    void cleanupTestCase() { window.reset(); }

    void writtenValuesSurviveAReconnection()
    {
        trigger("AutoUpMenu");
        QVERIFY(find<QAction>("AutoUpMenu")->isChecked());
        clickConnect();
        QVERIFY(panel1().startsWith("Connected to QTXv2.05 on COM1@19200bps"));
        QCOMPARE(value("PlacesItem"), QStringLiteral("3")); // read from the device

        type("PlacesItem", "5");
        type("PresetItem(0)", "2.5");
        type("SSIMaskItem", "00ff00ff");
        find<QWidget>("TTypeItem")->findChild<QComboBox *>("ListCombo")->setCurrentIndex(4);
        QCOMPARE(window->tabs()->tabBar()->tabTextColor(0), QColor(255, 0, 0));
        trigger("DownloadMenu");
        QCOMPARE(window->tabs()->tabBar()->tabTextColor(0), QColor(Qt::black));
        QCOMPARE(port.device().value("dP"), QStringLiteral("5"));
        QCOMPARE(port.device().value("Xe"), QStringLiteral("FF00FF"));

        clickConnect(); // disconnect
        QCOMPARE(panel1(), QStringLiteral("Disconnected"));
        type("PlacesItem", "1");
        clickConnect(); // and back, reading everything again
        QCOMPARE(value("PlacesItem"), QStringLiteral("5"));
        QCOMPARE(value("PresetItem(0)"), QStringLiteral("2.5000"));
        QCOMPARE(value("SSIMaskItem"), QStringLiteral("00FF00FF"));
        QCOMPARE(choice("TTypeItem"), QStringLiteral("PWM"));
    }

    void settingsFileRestoresAFactoryResetDevice()
    {
        prompt.saveName = dir.filePath("line3.qtx");
        trigger("SaveMenu");
        QVERIFY(prompt.messages.isEmpty());

        trigger("MenuFactory");
        QCOMPARE(port.device().value("dP"), QStringLiteral("3"));
        QCOMPARE(value("PlacesItem"), QStringLiteral("3"));
        QCOMPARE(choice("TTypeItem"), QStringLiteral("SSI Binary"));

        prompt.openName = prompt.saveName;
        trigger("LoadMenu");
        QCOMPARE(value("PlacesItem"), QStringLiteral("5"));
        QCOMPARE(window->tabs()->tabBar()->tabTextColor(0), QColor(255, 0, 0));
        trigger("DownloadMenu");
        QCOMPARE(port.device().value("dP"), QStringLiteral("5"));
        QCOMPARE(port.device().value("p1"), QStringLiteral("2.5"));
        QCOMPARE(port.device().value("XT"), QStringLiteral("PWM"));
        QCOMPARE(port.device().value("Xe"), QStringLiteral("FF00FF"));
        QVERIFY(prompt.messages.isEmpty());
    }

    // A device that knows "FD" resets itself and is read back; one that does not is written
    // the form's own factory values. Either way both end in the device's factory state.
    void factoryReset_data()
    {
        QTest::addColumn<bool>("byDevice");
        QTest::addColumn<QStringList>("head");
        QTest::newRow("by the device") << true << QStringList{"$0WE", "$0SFD", "$0WP", "$0RPU"};
        QTest::newRow("by the form") << false << QStringList{"$0WE", "$0SPUINCHES"};
    }
    void factoryReset()
    {
        QFETCH(bool, byDevice);
        QFETCH(QStringList, head);
        if (port.isOpen())
            clickConnect();
        port.device().faults().noFactoryCommand = !byDevice;
        port.device().setValue("dP", "5");
        clickConnect();
        port.clearWire();
        trigger("MenuFactory");
        QStringList sent;
        for (const QString &m : port.sentMessages())
            if (!QRegularExpression("^\\$0R(D|d[1-9a-f])$").match(m).hasMatch())
                sent << m;
        QCOMPARE(sent.mid(0, 86).filter(QRegularExpression("^\\$0R")).size(), 86); // the backup
        sent = sent.mid(86);
        QCOMPARE(sent.mid(0, head.size()), head);
        QCOMPARE(sent.size(), head.size() + 85);
        QCOMPARE(value("PlacesItem"), QStringLiteral("3"));
        QCOMPARE(window->tabs()->tabBar()->tabTextColor(0), QColor(Qt::black));
        Qtx2Device factory;
        for (Setting *s : window->settings()->item_list())
            if (s->get_serstring() != "CS")
                QCOMPARE(port.device().value(s->get_serstring()), factory.value(s->get_serstring()));
        // Without a connection nothing is sent.
        clickConnect();
        port.clearWire();
        trigger("MenuFactory");
        QVERIFY(port.sentMessages().isEmpty());
    }
};

QTEST_MAIN(TestWindowRoundTrip)
#include "tst_windowroundtrip.moc"
