#include "shell/ModRegistry.h"
#include "shell/PreferencesStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

static const QString Key = QStringLiteral("Software\\Orvane Works\\QTX2Setlink");

class TestModRegistry : public QObject
{
    Q_OBJECT

    static QSettings store() { return QSettings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink")); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QSettings s = store();
        s.clear();
        s.sync();
    }

    void writeThenRead_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("read");
        QTest::newRow("plain") << "HKCU" << Key << "D" << QVariant(1) << QVariant(1);
        QTest::newRow("root and type in any case") << "hkcu" << Key.toUpper() << "d" << QVariant(7) << QVariant(7);
        QTest::newRow("forward slashes") << "HKCU" << "Software/Orvane Works/QTX2Setlink/" << "D" << QVariant(3)
                                         << QVariant(3);
        QTest::newRow("kept as 16-bit signed") << "HKCU" << Key << "D" << QVariant(40000) << QVariant(-25536);
        QTest::newRow("negative") << "HKCU" << Key << "D" << QVariant(-1) << QVariant(-1);
        QTest::newRow("text") << "HKCU" << Key << "S" << QVariant("COM3") << QVariant("COM3");
    }
    void writeThenRead()
    {
        QFETCH(QString, root);
        QFETCH(QString, key);
        QFETCH(QString, type);
        QFETCH(QVariant, written);
        QFETCH(QVariant, read);
        QCOMPARE(ModRegistry::write_value(root, key, QStringLiteral("Value"), type, written), ModRegistry::Success);
        QVariant value;
        QCOMPARE(ModRegistry::read_value(root, key, QStringLiteral("Value"), type, QVariant(99), value),
                 ModRegistry::Success);
        QCOMPARE(value.toString(), read.toString());
    }

    void failuresKeepDefault_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("missing value") << "HKCU" << Key << "Nothing" << "D";
        QTest::newRow("machine root") << "HKLM" << Key << "Port" << "D";
        QTest::newRow("unknown root") << "HKXX" << Key << "Port" << "D";
        QTest::newRow("other key") << "HKCU" << "Software\\Other" << "Port" << "D";
        QTest::newRow("unknown type") << "HKCU" << Key << "Port" << "Q";
        QTest::newRow("text read as number") << "HKCU" << Key << "Word" << "D";
        QTest::newRow("list read as text") << "HKCU" << Key << "List" << "S";
    }
    void failuresKeepDefault()
    {
        QFETCH(QString, root);
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, type);
        {
            QSettings s = store();
            s.setValue(QStringLiteral("Port"), 3);
            s.setValue(QStringLiteral("Word"), QStringLiteral("three"));
            s.setValue(QStringLiteral("List"), QStringList{"a", "b"});
        }
        QVariant value(QStringLiteral("stale"));
        QVERIFY(ModRegistry::read_value(root, key, name, type, QVariant(42), value) != ModRegistry::Success);
        QCOMPARE(value, QVariant(42));
        if (name != QLatin1String("Nothing") && !name.startsWith(QLatin1Char('L')) && name != QLatin1String("Word")) {
            QVERIFY(ModRegistry::write_value(root, key, QStringLiteral("New"), type, 1) != ModRegistry::Success);
            QVERIFY(!store().contains(QStringLiteral("New")));
        }
    }

    void preferencesRoundTrip()
    {
        PreferencesStore prefs;
        PreferencesStore::Values first = prefs.load();
        QVERIFY(!first.readMagnets && !first.autoUpload && !first.expanded && !first.port);

        PreferencesStore::Values v;
        v.readMagnets = true;
        v.expanded = true;
        v.port = 12;
        prefs.save(v);
        const PreferencesStore::Values back = prefs.load();
        QVERIFY(back.readMagnets);
        QVERIFY(!back.autoUpload);
        QVERIFY(back.expanded);
        QCOMPARE(back.port, std::optional<int>(12));

        // Without a port the stored one stays.
        v.port.reset();
        v.readMagnets = false;
        prefs.save(v);
        QCOMPARE(prefs.load().port, std::optional<int>(12));
        QCOMPARE(store().value(QStringLiteral("ReadMagnets")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestModRegistry)
#include "tst_modregistry.moc"
