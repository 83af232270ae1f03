// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowRig.h"

#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// Settings files and stored preferences that come from outside the program, through the
// window's own menus: unreachable, special or huge files, saves that cannot be done, and a
// preferences store that someone else wrote. What files hold is the settings' business and
// tried on the model and by fuzzing.

namespace {

QSettings store()
{
    return QSettings(QStringLiteral("Orvane Works"), QStringLiteral("QTX2Setlink"));
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(data), data.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

// A damaged store file can make QSettings ask for a huge block while it decodes a
// "@Variant(...)" list. The C library then returns no memory and Qt copes; the address
// sanitizer's allocator would abort instead, so it is told to behave as the C library does.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}

class TestFilesAndPrefs : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    // Files that are not settings files: refused with a message, or silently when there is
    // nothing there; never read when special or huge, and nothing in the form changes.
    void refusedOpen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("details"); // empty: no message at all
        QTest::newRow("missing") << "missing" << "";
        QTest::newRow("dangling link") << "dangling" << "";
        QTest::newRow("directory") << "directory" << "not a file";
        QTest::newRow("link to a directory") << "dirlink" << "not a file";
        QTest::newRow("FIFO without writer") << "fifo" << "not a file";
        QTest::newRow("character device") << "device" << "not a file";
        QTest::newRow("50 MB") << "huge" << "too large";
        QTest::newRow("empty: availability refreshed") << "empty" << "";
    }
    void refusedOpen()
    {
        QFETCH(QString, kind);
        QFETCH(QString, details);
        Rig rig;
        QString target = path(kind);
        QFile::remove(target);
        if (kind == "directory")
            QVERIFY(QDir().mkpath(target));
        else if (kind == "dirlink")
            QVERIFY(QFile::link(dir.path(), target));
        else if (kind == "dangling")
            QVERIFY(QFile::link(path("nowhere"), target));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        else if (kind == "device")
            target = QStringLiteral("/dev/zero"); // endless if it were read
        else if (kind == "empty")
            writeFile(target, QByteArray());
        else if (kind == "huge") {
            writeFile(target, "dP5\r\n"); // a real line first, so reading any of it shows
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(50 * 1024 * 1024));
        }
        SetupItem *greyed = rig.window->setupForm()->item("HoldoffItem");
        greyed->enable(true); // stale availability that only a completed load puts right
        const QMap<QString, QString> before = rig.itemTexts();
        rig.prompt.openName = target;
        rig.trigger("LoadMenu");
        QCOMPARE(rig.itemTexts(), before);
        QCOMPARE(rig.prompt.messages.size(), details.isEmpty() ? 0 : 1);
        if (!details.isEmpty()) {
            QVERIFY(rig.prompt.messages.first().startsWith("Could not open the settings file"));
            QVERIFY2(rig.prompt.details.first().contains(details), qPrintable(rig.prompt.details.first()));
        }
        QCOMPARE(greyed->isEnabledLook(), kind != "empty");
    }

    // A save that cannot be done says so, leaves any old file whole and nothing temporary.
    void refusedSave_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("under a regular file") << "underfile";
        QTest::newRow("folder does not exist") << "nofolder";
        QTest::newRow("path is a directory") << "directory";
        QTest::newRow("disk full part way") << "full";
    }
    void refusedSave()
    {
        QFETCH(QString, kind);
        Rig rig;
        QTemporaryDir here;
        const QByteArray old = "PUINCHES\r\ndP3\r\n";
        QString target = here.filePath("settings.txt");
        writeFile(here.filePath("x"), old);
        if (kind == "underfile")
            target = here.filePath("x/settings.txt");
        else if (kind == "nofolder")
            target = here.filePath("no/such/folder/settings.txt");
        else if (kind == "directory")
            QVERIFY(QDir().mkpath(target));
        else
            writeFile(target, old);
        const QStringList before = QDir(here.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        // A file size limit stands for a full disk, and holds for root too.
        struct rlimit saved;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = kind == "full" ? 64 : saved.rlim_cur;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        rig.save(target);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(rig.prompt.messages.size(), 1);
        QVERIFY(rig.prompt.messages.first().startsWith("Could not save the settings file"));
        QVERIFY(!rig.prompt.details.first().isEmpty());
        QCOMPARE(QDir(here.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
        QCOMPARE(readFile(here.filePath("x")), old);
        if (kind == "full") {
            QCOMPARE(readFile(target), old);
            rig.save(target); // with room again the same command replaces the file
            QCOMPARE(rig.prompt.messages.size(), 1);
            QVERIFY(readFile(target).startsWith("PUINCHES\r\n") && readFile(target).size() > 500);
        }
    }

    // Preferences of another type or range fall back, and the store is rewritten sane.
    void strangePreferences_data()
    {
        QTest::addColumn<QVariant>("flag"); // ReadMagnets, AutoUpload and Expanded alike
        QTest::addColumn<QVariant>("port"); // invalid: missing
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("selected");
        QTest::newRow("missing") << QVariant() << QVariant() << false << "COM2";
        QTest::newRow("2^32 + 1 is not 1") << QVariant((qint64(1) << 32) + 1) << QVariant((qint64(1) << 32) + 3)
                                           << false << "COM2";
        QTest::newRow("65537 is not 1") << QVariant(65537) << QVariant(65539) << false << "COM2";
        QTest::newRow("byte arrays") << QVariant(QByteArray("\x01", 1)) << QVariant(QByteArray("3")) << false << "COM2";
        QTest::newRow("port as COM text") << QVariant(1) << QVariant("COM12") << true << "COM2";
        QTest::newRow("numbers as texts") << QVariant(" 1 ") << QVariant("3") << true << "COM3";
        QTest::newRow("port 12 listed") << QVariant(1) << QVariant(12) << true << "COM12";
    }
    void strangePreferences()
    {
        QFETCH(QVariant, flag);
        QFETCH(QVariant, port);
        QFETCH(bool, on);
        QFETCH(QString, selected);
        clearPreferences();
        {
            QSettings s = store();
            for (const char *name : {"ReadMagnets", "AutoUpload", "Expanded"})
                if (flag.isValid())
                    s.setValue(QLatin1String(name), flag);
            if (port.isValid())
                s.setValue("Port", port);
        }
        Rig rig(false, {2, 3, 12}, false);
        checkStarted(rig, on, selected);
    }

    // The store's file itself damaged: broken variants, a huge list, or a folder where the
    // file belongs.
    void damagedStore_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: a folder in its place
        QTest::newRow("broken variants") << QByteArray("[General]\nReadMagnets=@Variant(\\0\\0\\0\\x7f\\xff\\xff)\n"
                                                       "AutoUpload=@Variant(\\0\\0\\0\\v\\xff\\xff\\xff\\xfe)\n"
                                                       "Expanded=@Rect(1 2 3)\nPort=@ByteArray(\n");
        QTest::newRow("huge list") << "[General]\nPort=" + QByteArray(200000, ',') + "\nReadMagnets="
                                          + QByteArray(300000, '9') + "\n";
        QTest::newRow("folder") << QByteArray();
    }
    void damagedStore()
    {
        QFETCH(QByteArray, content);
        clearPreferences();
        const QString file = store().fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(content.isEmpty() ? file : QFileInfo(file).path()));
        if (!content.isEmpty()) {
            writeFile(file, content);
            // Written behind QSettings' back within this process: a time of its own makes
            // its file cache see the change, as a new program would.
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }
        {
            Rig rig(false, {2, 3}, false);
            checkStarted(rig, false, "COM2");
            rig.trigger("AutoUpMenu"); // stored, or nowhere at all, silently
            QVERIFY(rig.prompt.messages.isEmpty());
        }
        Rig next(false, {2, 3}, false);
        QCOMPARE(next.action("AutoUpMenu")->isChecked(), !content.isEmpty());
        if (content.isEmpty())
            QVERIFY(QDir(file).removeRecursively());
    }

private:
    void checkStarted(Rig &rig, bool on, const QString &selected)
    {
        QVERIFY(rig.started);
        QCOMPARE(rig.action("MagPosnMenu")->isChecked(), on);
        QCOMPARE(rig.action("AutoUpMenu")->isChecked(), on);
        QCOMPARE(rig.window->isLogShown(), on);
        QCOMPARE(rig.find<QComboBox>("SerPortCombo")->currentText(), selected);
        QVERIFY(rig.prompt.messages.isEmpty());
        QSettings s = store();
        if (QFileInfo(s.fileName()).isDir())
            return;
        QCOMPARE(s.status(), QSettings::NoError);
        for (const char *name : {"ReadMagnets", "AutoUpload", "Expanded"})
            QCOMPARE(s.value(name).toString(), on ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(s.value("Port").toString(), selected.mid(3));
    }
};

QTEST_MAIN(TestFilesAndPrefs)
#include "tst_filesandprefs.moc"
