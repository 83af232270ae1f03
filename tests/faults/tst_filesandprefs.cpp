#include "RecordingPrompt.h"
#include "SimPort.h"
#include "model/ParameterTable.h"
#include "catalogue/SetupForm.h"
#include "items/FloatItem.h"
#include "items/HexItem.h"
#include "items/IntegerItem.h"
#include "items/ListItem.h"
#include "model/FloatSetting.h"
#include "model/IntegerSetting.h"
#include "model/Setting.h"
#include "model/NumberText.h"
#include "shell/DesktopOpener.h"
#include "shell/QTX2SetlinkForm.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Settings files and stored preferences that come from outside the program: damaged,
// foreign, huge or unreachable files, and a preferences store that someone else wrote.
// Everything goes through the window's own menus, as a user would.

namespace {

class NoOpener : public DesktopOpener
{
public:
    void openUrl(const QUrl &) override {}
};

using ParameterTable::Kind;
using ParameterTable::Parameter;

struct Window
{
    explicit Window(const QList<int> &ports = {1})
    {
        port.setAvailablePorts(ports);
        w = std::make_unique<QTX2SetlinkForm>(&port, &prompt, &opener);
        w->setQuitHandler([] {});
        started = w->start();
    }
    QAction *action(const char *name) const { return w->findChild<QAction *>(QLatin1String(name)); }
    SetupItem *item(const Parameter &p) const { return w->setupForm()->item(p.control, p.index); }
    // Every item's shown value, in item-list order.
    QStringList values() const
    {
        QStringList out;
        for (const Parameter &p : ParameterTable::creationOrder())
            out << p.name() + QLatin1Char('=') + item(p)->value_text();
        return out;
    }
    void load(const QString &path)
    {
        prompt.openName = path;
        action("LoadMenu")->trigger();
    }
    void save(const QString &path)
    {
        prompt.saveName = path;
        action("SaveMenu")->trigger();
    }

    SimPort port;
    RecordingPrompt prompt;
    NoOpener opener;
    std::unique_ptr<QTX2SetlinkForm> w;
    bool started = false;
};

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

// Every difference, so a failure shows all items that went wrong at once.
QString differences(const QStringList &actual, const QStringList &expected)
{
    QStringList out;
    for (int i = 0; i < qMin(actual.size(), expected.size()); ++i)
        if (actual[i] != expected[i])
            out << actual[i] + QStringLiteral(" (expected ") + expected[i].section(QLatin1Char('='), 1) + QLatin1Char(')');
    return out.join(QStringLiteral("; "));
}

#define COMPARE_VALUES(actual, expected)                                                                              \
    do {                                                                                                               \
        const QString diff = differences(actual, expected);                                                            \
        QVERIFY2(diff.isEmpty(), qPrintable(diff));                                                                    \
    } while (false)

const Parameter &byCode(const char *code)
{
    const Parameter *p = ParameterTable::byCode(QLatin1String(code));
    Q_ASSERT(p);
    return *p;
}

int rowOf(const QString &code)
{
    const QList<Parameter> &order = ParameterTable::creationOrder();
    for (int i = 0; i < order.size(); ++i)
        if (order[i].code == code)
            return i;
    return -1;
}

// The first item in list order whose code begins the line: the one that takes it.
const Parameter *owner(const QString &line)
{
    for (const Parameter &p : ParameterTable::creationOrder())
        if (line.startsWith(p.code))
            return &p;
    return nullptr;
}

} // namespace

// A damaged store file can make QSettings ask for a huge block while it decodes a
// "@Variant(...)" list (a count of 0xfffffffe). The C library then returns no memory
// and Qt copes; the address sanitizer's allocator would abort instead, so it is told
// to behave as the C library does.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}

class TestFilesAndPrefs : public QObject
{
    Q_OBJECT

    QTemporaryDir home;
    std::unique_ptr<Window> win;
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }
    QStringList &messages() { return win->prompt.messages; }

    // What the item shows after taking a file value of one character (or none), worked
    // out by hand from the kind's rules; an empty result means "unchanged".
    static QString expectedAfter(SetupItem *item, const QString &value)
    {
        const QChar c = value.isEmpty() ? QChar() : value.at(0);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const int v = digit ? c.unicode() - '0' : 0;
        if (auto *i = qobject_cast<IntegerSetting *>(item->setting()))
            return v >= i->lower_limit() && v <= i->upper_limit() ? QString::number(v) : QString();
        if (qobject_cast<HexItem *>(item)) {
            bool ok = false;
            const int hex = value.isEmpty() ? 0 : QString(c).toInt(&ok, 16);
            return QStringLiteral("%1").arg(ok ? hex : 0, 8, 16, QLatin1Char('0')).toUpper();
        }
        return QString(); // lists: no one-character token; floats are checked by value
    }

private slots:
    void initTestCase()
    {
        // A store of this program's own: other test programs running at the same time
        // share the test-mode store under the real home.
        QVERIFY(home.isValid());
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(store().fileName().startsWith(home.path()));
        store().clear();
        QVERIFY(dir.isValid());
        win = std::make_unique<Window>();
        QVERIFY(win->started);
    }
    void cleanupTestCase() { win.reset(); }
    void init()
    {
        if (!win)
            return;
        win->action("MenuFactory")->trigger(); // a known form before each case
        messages().clear();
        win->prompt.details.clear();
    }

    // ---- Loading ----

    void emptyFileChangesNothingButRefreshesAvailability()
    {
        SetupItem *greyed = nullptr;
        for (const Parameter &p : ParameterTable::creationOrder())
            if (!win->item(p)->is_enabled_look())
                greyed = win->item(p);
        QVERIFY(greyed);
        greyed->enable(true); // stale availability that the load must put right
        const QStringList before = win->values();
        writeFile(path("empty.txt"), QByteArray());
        win->load(path("empty.txt"));
        QCOMPARE(win->values(), before);
        QVERIFY(!greyed->is_enabled_look());
        QVERIFY(messages().isEmpty());
    }

    // Random bytes with a few real lines buried in them: only lines an item recognises
    // change anything.
    void binaryFileChangesOnlyRecognisedLines()
    {
        QRandomGenerator rng(20240611);
        QByteArray data(200 * 1024, Qt::Uninitialized);
        for (char &b : data)
            b = char(rng.bounded(256));
        data.insert(1000, "\r\ndP5\r\n");
        data.insert(50000, "\nXe1A2B\n");
        data.insert(90000, "\rdZNO\r");
        writeFile(path("binary.bin"), data);
        const QStringList before = win->values();
        win->load(path("binary.bin"));
        QVERIFY(messages().isEmpty());

        QSet<QString> owners; // items whose code begins some line of the file
        for (const QByteArray &crSplit : data.split('\r'))
            for (const QByteArray &line : crSplit.split('\n'))
                if (const Parameter *p = owner(QString::fromLatin1(line)))
                    owners << p->name();
        const QStringList after = win->values();
        for (int i = 0; i < after.size(); ++i)
            if (after[i] != before[i])
                QVERIFY2(owners.contains(after[i].section(QLatin1Char('='), 0, 0)), qPrintable(after[i]));
        QCOMPARE(win->item(byCode("dP"))->value_text(), QStringLiteral("5"));
        QCOMPARE(win->item(byCode("Xe"))->value_text(), QStringLiteral("00001A2B"));
        QCOMPARE(win->item(byCode("dZ"))->value_text(), QStringLiteral("No"));
    }

    void refusedPaths_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("told");
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("directory") << "directory" << true;
        QTest::newRow("FIFO without writer") << "fifo" << true;
        QTest::newRow("character device") << "device" << true;
        QTest::newRow("unreadable file") << "unreadable" << true;
        QTest::newRow("link to a directory") << "dirlink" << true;
        QTest::newRow("dangling link") << "dangling" << false;
    }
    void refusedPaths()
    {
        QFETCH(QString, kind);
        QFETCH(bool, told);
        QString target = path(kind);
        QFile::remove(target);
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir().mkpath(target));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        } else if (kind == QLatin1String("device")) {
            target = QStringLiteral("/dev/zero"); // endless if it were read
        } else if (kind == QLatin1String("unreadable")) {
            writeFile(target, "dP7\r\n");
            QVERIFY(QFile::setPermissions(target, QFileDevice::WriteOwner));
            QFile probe(target);
            if (probe.open(QIODevice::ReadOnly))
                QSKIP("permissions do not stop this user (root) from reading; FIFO and device rows cover refusal");
        } else if (kind == QLatin1String("dirlink")) {
            QVERIFY(QFile::link(dir.path(), target));
        } else if (kind == QLatin1String("dangling")) {
            QVERIFY(QFile::link(path("nowhere"), target));
        }
        const QStringList before = win->values();
        QElapsedTimer clock;
        clock.start();
        win->load(target);
        QVERIFY2(clock.elapsed() < 20000, "a special file must not be read");
        QCOMPARE(win->values(), before);
        QCOMPARE(messages().size(), told ? 1 : 0);
        if (told)
            QVERIFY(messages().first().startsWith(QStringLiteral("Could not open the settings file")));
    }

    void hugeFileIsRefusedUnread()
    {
        const QString big = path("huge.txt");
        writeFile(big, "dP7\r\nXe77\r\n"); // real lines first, so reading any of it shows
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(50 * 1024 * 1024));
        }
        const QStringList before = win->values();
        QElapsedTimer clock;
        clock.start();
        win->load(big);
        QVERIFY(clock.elapsed() < 20000);
        QCOMPARE(win->values(), before);
        QCOMPARE(messages().size(), 1);
        QVERIFY(win->prompt.details.first().contains(QStringLiteral("too large")));
        QFile::remove(big);
    }

    void longLines_data()
    {
        const int n = 900 * 1024;
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("shown"); // empty: unchanged
        QTest::newRow("integer: 900 KB of nines") << "dP" << QByteArray(n, '9') << "";
        QTest::newRow("integer: negative 900 KB") << "dP" << "-" + QByteArray(n, '9') << "";
        QTest::newRow("integer: zeros then 5") << "dP" << QByteArray(n, '0') + "5" << "5";
        QTest::newRow("integer: 3.999...") << "dP" << "3." + QByteArray(n, '9') << "4";
        QTest::newRow("integer: blanks, then 4") << "dP" << QByteArray(n, ' ') + "4" << "4";
        QTest::newRow("integer: huge exponent") << "dP" << "1E" + QByteArray(n, '9') << "";
        QTest::newRow("integer: tiny exponent") << "dP" << "7E-" + QByteArray(n, '9') << ""; // 0: below 1
        QTest::newRow("hex: 900 KB of F") << "Xe" << QByteArray(n, 'F') << "";
        QTest::newRow("hex: zeros then 1A") << "Xe" << QByteArray(n, '0') + "1a" << "0000001A";
        QTest::newRow("float: 900 KB of nines") << "PS" << QByteArray(n, '9') << "";
        QTest::newRow("list: 900 KB token") << "PU" << QByteArray(n, 'M') << "";
    }
    void longLines()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, value);
        QFETCH(QString, shown);
        SetupItem *target = win->item(*ParameterTable::byCode(code));
        QStringList expected = win->values();
        const int row = rowOf(code);
        if (!shown.isEmpty())
            expected[row] = expected[row].section(QLatin1Char('='), 0, 0) + QLatin1Char('=') + shown;
        writeFile(path("long.txt"), code.toLatin1() + value + "\r\n");
        win->load(path("long.txt"));
        QVERIFY(messages().isEmpty());
        if (!shown.isEmpty())
            QCOMPARE(target->value_text(), shown);
        QCOMPARE(win->values(), expected);
    }

    // Every byte value after every code: each item takes only its own line and shows only
    // what its kind makes of that one character.
    void everyByteAfterEveryCode()
    {
        const QList<Parameter> &order = ParameterTable::creationOrder();
        for (int b = 0; b < 256; ++b) {
            win->action("MenuFactory")->trigger();
            const QStringList before = win->values();
            const QString ch = QString(QChar(ushort(b)));
            QByteArray data;
            for (const Parameter &p : order)
                data += p.code.toLatin1() + char(b) + "\r\n";
            writeFile(path("bytes.txt"), data);
            win->load(path("bytes.txt"));

            // The last line each item owns decides what it shows.
            QHash<QString, QString> taken;
            for (const Parameter &p : order) {
                const QString line = (b == '\r' || b == '\n') ? p.code : p.code + ch;
                const Parameter *o = owner(line);
                taken[o->name()] = line.mid(o->code.size());
            }
            const QStringList after = win->values();
            for (int i = 0; i < order.size(); ++i) {
                const Parameter &p = order[i];
                SetupItem *item = win->item(p);
                const QString what = QStringLiteral("byte %1, %2").arg(b).arg(after[i]);
                if (!taken.contains(p.name())) {
                    QVERIFY2(after[i] == before[i], qPrintable(what));
                    continue;
                }
                if (auto *f = qobject_cast<FloatSetting *>(item->setting())) {
                    const QChar c = taken[p.name()].isEmpty() ? QChar() : taken[p.name()].at(0);
                    const double v = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.unicode() - '0' : 0;
                    if (v >= f->lower_limit() && v <= f->upper_limit())
                        QVERIFY2(qFuzzyCompare(1 + NumberText::leading_value(item->value_text()), 1 + v), qPrintable(what));
                    else
                        QVERIFY2(after[i] == before[i], qPrintable(what));
                    continue;
                }
                const QString shown = expectedAfter(item, taken[p.name()]);
                if (shown.isEmpty())
                    QVERIFY2(after[i] == before[i], qPrintable(what));
                else
                    QVERIFY2(item->value_text() == shown, qPrintable(what));
            }
            QVERIFY(messages().isEmpty());
        }
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }
    // A file written here, carried through another system's line ends, loads alike.
    void lineEnds()
    {
        QFETCH(QByteArray, end);
        win->item(byCode("dP"))->setting()->set_default(2);
        win->item(byCode("Xe"))->setting()->set_default(0x7F0000FF);
        win->item(byCode("dZ"))->setting()->set_default(QStringLiteral("NO"));
        win->item(byCode("PS"))->setting()->set_default(0.125);
        const QStringList saved = win->values();
        win->save(path("ends.txt"));
        QByteArray data = readFile(path("ends.txt"));
        QVERIFY(data.endsWith("\r\n"));
        data.replace("\r\n", end);
        writeFile(path("ends.txt"), data);
        win->action("MenuFactory")->trigger();
        QVERIFY(win->values() != saved);
        win->load(path("ends.txt"));
        QCOMPARE(win->values(), saved);
        QVERIFY(messages().isEmpty());
    }

    // A line for every code, its value beyond what the item allows: nothing changes.
    void valuesOutOfLimits()
    {
        QByteArray data;
        for (const Parameter &p : ParameterTable::creationOrder()) {
            const QByteArray code = p.code.toLatin1();
            switch (p.kind) {
            case Kind::Integer:
                for (double v : {p.max + 1, p.min - 1, p.max + 0.5000001, 40000.0, -40000.0, 1e300})
                    data += code + QByteArray::number(v, 'g', 17) + "\r\n";
                data += code + "1E999999\r\n" + code + "-1E999999\r\n" + code + "&H10000\r\n";
                break;
            case Kind::Float:
                // Limits are in inches and this form is in inches.
                data += code + QByteArray::number(p.max * 1.01 + 1, 'g', 17) + "\r\n";
                data += code + QByteArray::number(p.min - std::abs(p.min) * 0.01 - 1, 'g', 17) + "\r\n";
                data += code + "1E999999\r\n" + code + "-1E999999\r\n";
                break;
            case Kind::List:
                for (const ParameterTable::Choice &c : p.choices)
                    data += code + c.token.toLower().toLatin1() + "\r\n" + code + c.token.toLatin1() + " \r\n"
                        + code + " " + c.token.toLatin1() + "\r\n";
                break;
            case Kind::Hex: // no limits: only patterns wider than 32 bits are refused
                data += code + "100000000\r\n" + code + "-1\r\n"; // "-" is no hex digit: 0
                break;
            }
        }
        writeFile(path("limits.txt"), data);
        QStringList expected = win->values();
        for (const Parameter &p : ParameterTable::creationOrder())
            if (p.kind == Kind::Hex)
                expected[rowOf(p.code)] = p.name() + QStringLiteral("=00000000");
        win->load(path("limits.txt"));
        QCOMPARE(win->values(), expected);
        QVERIFY(messages().isEmpty());
    }

    // A file from another program: headers, comments, key=value pairs, lower-case codes.
    void fileFromAnotherSource()
    {
        const QByteArray data = "[QTX2]\r\n# exported settings\r\nVersion=2\r\n\r\n   \r\n"
                                "dp2\r\ndP 4\r\nPUMM\r\n\xef\xbb\xbf" "dZNO\r\n"
                                "dZNO\r\nPlacesItem=3\r\n\t\r\nXe=FF\r\n";
        writeFile(path("foreign.txt"), data);
        QStringList expected = win->values();
        auto set = [&](const char *code, const QString &shown) {
            const Parameter &p = byCode(code);
            expected[rowOf(p.code)] = p.name() + QLatin1Char('=') + shown;
        };
        set("dP", "4");        // the blank is ignored
        set("PU", "MM");
        set("dZ", "No");
        set("Xe", "00000000"); // "=FF" has no leading hex digit
        win->load(path("foreign.txt"));
        // Lengths now read in millimetres are not part of this file; compare the rest.
        const QStringList after = win->values();
        const QList<Parameter> &order = ParameterTable::creationOrder();
        for (int i = 0; i < order.size(); ++i)
            if (order[i].kind != Kind::Float)
                QCOMPARE(after[i], expected[i]);
        QVERIFY(messages().isEmpty());
    }

    // ---- Saving ----

    void saveRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("under a regular file") << "underfile";
        QTest::newRow("folder does not exist") << "nofolder";
        QTest::newRow("path is a directory") << "directory";
    }
    void saveRefused()
    {
        QFETCH(QString, kind);
        QTemporaryDir here;
        QString target;
        if (kind == QLatin1String("underfile")) {
            writeFile(here.filePath("x"), "not a folder\r\n");
            target = here.filePath("x/settings.txt");
        } else if (kind == QLatin1String("nofolder")) {
            target = here.filePath("no/such/folder/settings.txt");
        } else {
            QVERIFY(QDir(here.path()).mkdir("taken"));
            target = here.filePath("taken");
        }
        const QStringList before = QDir(here.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        win->save(target);
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().first().startsWith(QStringLiteral("Could not save the settings file")));
        QVERIFY(!win->prompt.details.first().isEmpty());
        QCOMPARE(QDir(here.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
        if (kind == QLatin1String("underfile"))
            QCOMPARE(readFile(here.filePath("x")), QByteArray("not a folder\r\n"));
        if (kind == QLatin1String("directory"))
            QVERIFY(QDir(target).isEmpty());
    }

    // A write that fails part way (the disk is full, here a file size limit, which holds
    // for root too) leaves the old file whole and no temporary file behind.
    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir here;
        const QString target = here.filePath("settings.txt");
        const QByteArray old = "PUINCHES\r\ndP3\r\n";
        writeFile(target, old);

        struct rlimit saved;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 64;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        win->save(target);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().first().startsWith(QStringLiteral("Could not save the settings file")));
        QCOMPARE(readFile(target), old);
        QCOMPARE(QDir(here.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"settings.txt"});

        // With room again the same command replaces the file.
        messages().clear();
        win->save(target);
        QVERIFY(messages().isEmpty());
        QVERIFY(readFile(target).startsWith("PUINCHES\r\n"));
    }

    // Every item but the units holds a value of its own, other than its default; a second program
    // loading the file shows all 86 exactly.
    void saveThenLoadRestoresEveryItem()
    {
        int n = 0;
        for (const Parameter &p : ParameterTable::creationOrder()) {
            SetupItem *item = win->item(p);
            ++n;
            switch (p.kind) {
            case Kind::Integer:
                item->setting()->set_default(int(p.max) - n % 3 >= p.min ? int(p.max) - n % 3 : int(p.max));
                break;
            case Kind::Float:
                item->setting()->set_default(p.min + (p.max - p.min) * (0.1 + 0.01 * n) / 1.7);
                break;
            case Kind::List:
                item->setting()->set_default(p.choices.at((n + 1) % p.choices.size()).token);
                break;
            case Kind::Hex:
                item->setting()->set_default(int(0x80000001u + quint32(n) * 0x01010101u));
                break;
            }
        }
        // Lengths travel in the file's unit with single precision's 7 digits; in inches
        // every value above survives exactly (other units: savedLengthsFollowTheChosenUnit).
        win->item(byCode("PU"))->setting()->set_default(QStringLiteral("INCHES"));
        const QStringList saved = win->values();
        win->save(path("all.txt"));
        QVERIFY(messages().isEmpty());
        QCOMPARE(readFile(path("all.txt")).count("\r\n"), 86);

        Window fresh;
        QVERIFY(fresh.started);
        QVERIFY(fresh.values() != saved);
        fresh.load(path("all.txt"));
        COMPARE_VALUES(fresh.values(), saved);
        QVERIFY(fresh.prompt.messages.isEmpty());
    }

    // A user who picks another unit in the form and saves: the file must still restore
    // the same lengths.
    void savedLengthsFollowTheChosenUnit()
    {
        QWidget *units = win->item(byCode("PU"));
        QComboBox *combo = units->findChild<QComboBox *>();
        QVERIFY(combo);
        combo->setCurrentIndex(3); // MM, chosen by the user
        win->item(byCode("PO"))->setting()->set_default(2.0);
        const QStringList saved = win->values();
        win->save(path("mm.txt"));
        Window fresh;
        fresh.load(path("mm.txt"));
        COMPARE_VALUES(fresh.values(), saved);
    }

    // ---- Preferences written by someone else ----

    void strangePreferences_data()
    {
        QTest::addColumn<QVariant>("readMagnets");
        QTest::addColumn<QVariant>("autoUpload");
        QTest::addColumn<QVariant>("expanded");
        QTest::addColumn<QVariant>("port"); // invalid: missing
        QTest::addColumn<bool>("on");       // the three choices, all alike
        QTest::addColumn<QString>("selected");
        const QVariant missing;
        QTest::newRow("all missing") << missing << missing << missing << missing << false << "COM2";
        QTest::newRow("floats") << QVariant(1.5) << QVariant(0.99) << QVariant(1e10) << QVariant(3.5) << false << "COM2";
        QTest::newRow("lists") << QVariant(QStringList{"1"}) << QVariant(QVariantList{1, 1})
                               << QVariant(QStringList{}) << QVariant(QStringList{"3"}) << false << "COM2";
        QTest::newRow("minus one") << QVariant(-1) << QVariant(-1) << QVariant(-1) << QVariant(-1) << false << "COM2";
        QTest::newRow("two to the 31") << QVariant(qint64(1) << 31) << QVariant(qint64(1) << 31)
                                       << QVariant(qint64(1) << 31) << QVariant(qint64(1) << 31) << false << "COM2";
        QTest::newRow("2^32 + 1 is not 1") << QVariant((qint64(1) << 32) + 1) << QVariant((qint64(1) << 32) + 1)
                                           << QVariant((qint64(1) << 32) + 1) << QVariant((qint64(1) << 32) + 3)
                                           << false << "COM2";
        QTest::newRow("65537 is not 1") << QVariant(65537) << QVariant(65537) << QVariant(65537) << QVariant(65539)
                                        << false << "COM2";
        QTest::newRow("99999") << QVariant(99999) << QVariant(99999) << QVariant(99999) << QVariant(99999) << false
                               << "COM2";
        QTest::newRow("port as COM text") << QVariant(1) << QVariant(1) << QVariant(1) << QVariant("COM12") << true
                                          << "COM2";
        QTest::newRow("numbers as texts") << QVariant(" 1 ") << QVariant("1") << QVariant("1") << QVariant("3")
                                          << true << "COM3";
        QTest::newRow("byte arrays") << QVariant(QByteArray("1")) << QVariant(QByteArray("\x01", 1))
                                     << QVariant(QByteArray()) << QVariant(QByteArray("3")) << false << "COM2";
        QTest::newRow("port zero") << QVariant(true) << QVariant(false) << QVariant(0) << QVariant(0) << false
                                   << "COM2";
        QTest::newRow("port 12 listed") << QVariant(1) << QVariant(1) << QVariant(1) << QVariant(12) << true
                                        << "COM12";
    }
    void strangePreferences()
    {
        QFETCH(QVariant, readMagnets);
        QFETCH(QVariant, autoUpload);
        QFETCH(QVariant, expanded);
        QFETCH(QVariant, port);
        QFETCH(bool, on);
        QFETCH(QString, selected);
        {
            QSettings s = store();
            s.clear();
            const QList<QPair<const char *, QVariant>> values{
                {"ReadMagnets", readMagnets}, {"AutoUpload", autoUpload}, {"Expanded", expanded}, {"Port", port}};
            for (const auto &v : values)
                if (v.second.isValid())
                    s.setValue(QLatin1String(v.first), v.second);
        }
        Window w({2, 3, 12});
        QVERIFY(w.started);
        QCOMPARE(w.action("MagPosnMenu")->isChecked(), on);
        QCOMPARE(w.action("AutoUpMenu")->isChecked(), on);
        QCOMPARE(w.w->isLogShown(), on);
        QCOMPARE(w.w->findChild<QComboBox *>("SerPortCombo")->currentText(), selected);
        QVERIFY(w.prompt.messages.isEmpty());
        checkStoreIsSane(on, selected.mid(3).toInt());
    }

    // The store's file itself damaged: garbage bytes, a broken section, broken variants.
    void corruptStoreFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QRandomGenerator rng(7);
        QByteArray noise(4096, Qt::Uninitialized);
        for (char &b : noise)
            b = char(rng.bounded(256));
        QTest::newRow("random bytes") << noise;
        static const char nulAndHigh[] = "\0\xff\xfe[Gen\0eral]\nReadMagnets=\xff\xff\n";
        QTest::newRow("NUL and high bytes") << QByteArray(nulAndHigh, sizeof nulAndHigh - 1);
        QTest::newRow("broken section") << QByteArray("[General\nReadMagnets=yes\nExpanded=\xff\nPort=COM3\n");
        QTest::newRow("broken variants") << QByteArray("[General]\nReadMagnets=@Variant(\\0\\0\\0\\x7f\\xff\\xff)\n"
                                                       "AutoUpload=@Variant(\\0\\0\\0\\v\\xff\\xff\\xff\\xfe)\n"
                                                       "Expanded=@Rect(1 2 3)\nPort=@ByteArray(\n");
        QTest::newRow("huge list") << "[General]\nPort=" + QByteArray(200000, ',') + "\nReadMagnets="
                                          + QByteArray(300000, '9') + "\n";
    }
    void corruptStoreFile()
    {
        QFETCH(QByteArray, content);
        const QString file = store().fileName();
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        writeFile(file, content);
        {
            // Written behind QSettings' back within this process: a time of its own
            // makes its file cache see the change, as a new program would.
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }
        Window w({2, 3});
        QVERIFY(w.started);
        QVERIFY(!w.action("MagPosnMenu")->isChecked());
        QVERIFY(!w.action("AutoUpMenu")->isChecked());
        QVERIFY(!w.w->isLogShown());
        QCOMPARE(w.w->findChild<QComboBox *>("SerPortCombo")->currentText(), QStringLiteral("COM2"));
        checkStoreIsSane(false, 2);

        // And the next run reads back what this one stored.
        w.action("AutoUpMenu")->trigger();
        Window next({2, 3});
        QVERIFY(next.action("AutoUpMenu")->isChecked());
    }

    // A folder where the store's file belongs: nothing can be read or kept, and the
    // program starts all the same with every fallback.
    void storeThatCannotBeKept()
    {
        const QString file = store().fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        {
            Window w({4, 5});
            QVERIFY(w.started);
            QVERIFY(!w.action("MagPosnMenu")->isChecked());
            QVERIFY(!w.w->isLogShown());
            QCOMPARE(w.w->findChild<QComboBox *>("SerPortCombo")->currentText(), QStringLiteral("COM4"));
            w.action("MagPosnMenu")->trigger(); // stored nowhere, silently
            QVERIFY(w.action("MagPosnMenu")->isChecked());
            QVERIFY(w.prompt.messages.isEmpty());
        }
        QVERIFY(QDir(file).removeRecursively());
    }

private:
    void checkStoreIsSane(bool on, int port)
    {
        QSettings s = store();
        QCOMPARE(s.status(), QSettings::NoError);
        const QString flag = on ? QStringLiteral("1") : QStringLiteral("0");
        QCOMPARE(s.value("ReadMagnets").toString(), flag);
        QCOMPARE(s.value("AutoUpload").toString(), flag);
        QCOMPARE(s.value("Expanded").toString(), flag);
        QCOMPARE(s.value("Port").toString(), QString::number(port));
    }
};

QTEST_MAIN(TestFilesAndPrefs)
#include "tst_filesandprefs.moc"
