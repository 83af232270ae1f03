// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// Upload and download of all settings against qtx2-sim on a pseudo-terminal, at each
// line speed: wall time against the floor the exchange and the line impose, and the
// share of the wall time this process spends on the CPU.
//
// The floor per exchange: 5 ms before it (none before a walk's first, which starts on a
// quiet line), 10 ms after it (0 ms after a set command),
// the simulator's latency, and the time the simulator takes to put the reply out (see
// FloorTimeline). "line_ms" is the floor of a real line instead: 10 bit times for every
// byte, both ways. With --breakdown it also shows where the time went: before the
// message, waiting for the reply, after it; the window's repaints, the communications
// log, and the bare round trip through the pseudo-terminal. With --all-settings the
// All Settings view is open through every walk, and each row says how many of its rows
// the walk updated.

#include "BenchSupport.h"
#include "link/PreciseWaits.h"
#include "items/SetupItem.h"
#include "model/Setting.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"
#include "shell/DesktopOpener.h"
#include "shell/LogPane.h"
#include "shell/QTX2SetlinkForm.h"
#include "model/BackupStore.h"
#include "model/SettingsTableModel.h"
#include "shell/AllSettingsWindow.h"
#include "operations/DeviceBackup.h"
#include "transfer/TransferCommands.h"
#include "link/UserPrompt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

#ifndef QTX2_SIM_PATH
#define QTX2_SIM_PATH ""
#endif
#ifndef QTX2CTL_PATH
#define QTX2CTL_PATH ""
#endif

namespace {

using namespace BenchSupport;

const QList<int> LineSpeeds = {19200, 9600, 4800, 2400, 1200};
constexpr double TargetRatio = 1.05;
constexpr double TargetOverMs = 0.4;
constexpr double TargetCpuPercent = 3.0;

// The application, noting how long the window system's repaints take.
class BenchApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!timingRepaints || event->type() != QEvent::UpdateRequest)
            return QApplication::notify(receiver, event);
        QElapsedTimer clock;
        clock.start();
        const bool handled = QApplication::notify(receiver, event);
        repaintNs += clock.nsecsElapsed();
        return handled;
    }

    qint64 repaintNs = 0;
    bool timingRepaints = false;
};

// How late the exchange's millisecond sleep wakes on this machine now: mean and worst.
QString sleepLateness()
{
    QStringList parts;
    for (const int ms : {5, 10}) {
        double sum = 0, worst = 0;
        constexpr int Rounds = 20;
        for (int i = 0; i < Rounds; ++i) {
            QElapsedTimer clock;
            clock.start();
            QThread::msleep(ulong(ms));
            const double late = double(clock.nsecsElapsed()) / 1e6 - ms;
            sum += late;
            worst = std::max(worst, late);
        }
        parts << QStringLiteral("%1 ms sleeps wake %2 ms late (worst %3)")
                     .arg(ms)
                     .arg(sum / Rounds, 0, 'f', 3)
                     .arg(worst, 0, 'f', 3);
    }
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    if (loadavg.open(QIODevice::ReadOnly))
        parts << QStringLiteral("load average %1 on %2 cores")
                     .arg(QString::fromLatin1(loadavg.readAll()).section(QLatin1Char(' '), 0, 2))
                     .arg(QThread::idealThreadCount());
    return parts.join(QStringLiteral("; "));
}

// Messages that would be message boxes in the window go to the terminal.
// The application's own port, counting what crosses it and noting when.
class CountingPortIo : public QtSerialPortIo
{
public:
    explicit CountingPortIo(const PortDirectory &directory)
        : QtSerialPortIo(directory)
    {
        clock.start();
    }

    qint64 write(const QByteArray &data) override
    {
        const qint64 n = QtSerialPortIo::write(data);
        lastWriteNs = clock.nsecsElapsed();
        ++writes;
        if (n > 0)
            sent += n;
        return n;
    }
    QByteArray readAll() override
    {
        const QByteArray bytes = QtSerialPortIo::readAll();
        if (!bytes.isEmpty()) {
            lastReadNs = clock.nsecsElapsed();
            ++reads;
            sawCarriageReturn = sawCarriageReturn || bytes.contains('\r');
        }
        received += bytes.size();
        return bytes;
    }
    void reset() { writes = sent = received = reads = 0; }

    qint64 writes = 0;
    qint64 sent = 0;
    qint64 received = 0;
    qint64 reads = 0; // reads that found bytes
    QElapsedTimer clock;
    qint64 lastWriteNs = 0;
    qint64 lastReadNs = 0;
    bool sawCarriageReturn = false;
};

// qtx2-sim serving a pseudo-terminal, with its COM1 link in a folder of its own.
// What the exchanges of one walk must take at least, exchange by exchange. The
// simulator answers a message as soon as it has it (the bytes sent cost no time), puts
// its reply out in pieces of about 5 ms of line time (each piece's time rounded up to a
// whole millisecond, the last piece out as soon as the one before it has had its time)
// and starts no reply before the line time of the previous reply's last piece is over.
class FloorTimeline
{
public:
    struct Step
    {
        double before = 0; // the pause before the message
        double reply = 0;  // from the message to the reply's last byte
        double after = 0;  // the pause after the reply
    };

    FloorTimeline(int baud, int latencyMs, const SerialForm::Timing &timing)
        : m_baud(baud), m_latency(latencyMs), m_timing(timing)
    {
    }

    // A walk starts on a quiet line.
    void restart()
    {
        m_now = 0;
        m_lineFreeAt = 0;
        m_first = true;
    }

    // sent: the whole message without its CR; replyBytes: the reply with its CR.
    Step add(const QString &sent, int replyBytes)
    {
        Step step;
        const bool setCommand = sent.size() >= 3 && sent.at(2) == QLatin1Char('S');
        // A walk starts on a line quiet for longer than any pause: its first message goes at once.
        step.before = std::exchange(m_first, false) ? 0 : m_timing.pauseBefore;
        step.after = setCommand ? m_timing.setCommandPause : m_timing.pauseAfter;

        const double sendAt = m_now + step.before;
        const int piece = m_baud > 0 ? std::max(1, m_baud / 10 / 200) : std::max(1, replyBytes);
        const int pieces = std::max(1, (replyBytes + piece - 1) / piece);
        const int lastPiece = replyBytes - (pieces - 1) * piece;
        const double first = std::max(sendAt + m_latency, m_lineFreeAt);
        const double last = first + (pieces - 1) * pieceMs(piece);
        m_lineFreeAt = last + pieceMs(lastPiece);
        step.reply = last - sendAt;
        m_now = last + step.after;
        return step;
    }

    // A real line instead: 10 bit times for every byte, both ways.
    double lineStepMs(const QString &sent, int sentBytes, int replyBytes) const
    {
        const bool setCommand = sent.size() >= 3 && sent.at(2) == QLatin1Char('S');
        const double line = m_baud > 0 ? double(sentBytes + replyBytes) * 10000.0 / m_baud : 0.0;
        return m_timing.pauseBefore + line + m_latency + (setCommand ? m_timing.setCommandPause : m_timing.pauseAfter);
    }

private:
    // As the simulator rounds it: whole milliseconds, up.
    int pieceMs(int bytes) const
    {
        return m_baud > 0 && bytes > 0 ? int((qint64(bytes) * 10 * 1000 + m_baud - 1) / m_baud) : 0;
    }

    int m_baud;
    int m_latency;
    SerialForm::Timing m_timing;
    double m_now = 0;
    double m_lineFreeAt = 0;
    bool m_first = true;
};

// Paint events during a walk: the tab bar's, and all widgets' together.
class PaintCounter : public QObject
{
public:
    PaintCounter(QTabBar *tabBar, bool counting) : m_tabBar(tabBar)
    {
        if (counting)
            qApp->installEventFilter(this);
    }
    ~PaintCounter() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++all;
            if (watched == m_tabBar)
                ++tabBar;
            ++byClass[QString::fromLatin1(watched->metaObject()->className()) + QLatin1Char(':') + watched->objectName()];
        }
        return false;
    }
    void reset()
    {
        all = tabBar = 0;
        byClass.clear();
    }

    QString mostPainted() const
    {
        QList<QPair<int, QString>> counts;
        for (auto it = byClass.begin(); it != byClass.end(); ++it)
            counts << qMakePair(it.value(), it.key());
        std::sort(counts.begin(), counts.end(), std::greater<>());
        QStringList parts;
        for (int i = 0; i < counts.size() && i < 5; ++i)
            parts << QStringLiteral("%1 %2").arg(counts[i].first).arg(counts[i].second);
        return parts.join(QStringLiteral(", "));
    }

    QHash<QString, int> byClass;
    int all = 0;
    int tabBar = 0;

private:
    QTabBar *m_tabBar;
};

struct WalkResult
{
    int speed = 0;
    QString walk;
    int exchanges = 0;
    qint64 messages = 0;    // written to the port; more than exchanges means time-outs
    qint64 bytesSent = 0;   // as counted from the exchanges
    qint64 bytesReceived = 0;
    qint64 portSent = 0;    // as counted at the port
    qint64 portReceived = 0;
    double wallMs = 0;
    double floorMs = 0;
    double lineFloorMs = 0;
    double cpuPercent = 0;
    double simCpuPercent = -1;
    int messageBoxes = 0;
    // Where the time went, summed over the exchanges: measured and floor, in ms.
    double beforeMs = 0, beforeFloorMs = 0; // from the previous exchange's end to the write
    double replyMs = 0, replyFloorMs = 0;   // from the write to the reply's last byte
    double afterMs = 0, afterFloorMs = 0;   // from the last byte to the exchange's end
    qint64 reads = 0;
    int paints = 0;
    int tabBarPaints = 0;
    QString mostPainted;
    double repaintMs = 0; // the window system's repaints
    double logMs = 0;     // the communications log taking the exchanges
    QStringList changedItems;
    int viewRows = -1;    // rows of the All Settings view updated; -1 when it is closed

    double ratio() const { return floorMs > 0 ? wallMs / floorMs : 0.0; }
    double overheadPerExchange() const { return exchanges > 0 ? (wallMs - floorMs) / exchanges : 0.0; }
    bool meetsTargets() const
    {
        return ratio() <= TargetRatio && overheadPerExchange() < TargetOverMs && cpuPercent < TargetCpuPercent;
    }
};

// The program's own main window over the app's own serial port, driven through its menus.
class Rig
{
public:
    // Instruments (the timed log, the paint and change counts) only for the breakdown: they
    // cost processor time of their own, which the cpu column would count as the window's.
    Rig(const QString &portsFolder, bool instrumented)
        : port(PortDirectory(portsFolder, QStringList())), window(&port, &prompt, &opener)
    {
        window.setQuitHandler([] {});
        started = window.start();
        link = window.serialForm();
        timer = window.findChild<QTimer *>(QStringLiteral("PositionTimer"));
        paints = std::make_unique<PaintCounter>(window.tabs()->tabBar(), instrumented);
        window.show();
        if (!instrumented)
            return;
        LogPane *log = window.logPane();
        // The window's own connection to the log, timed.
        QObject::disconnect(link, &SerialForm::exchanged, log, &LogPane::log_exchange);
        QObject::connect(link, &SerialForm::exchanged, log, [this, log](const QString &sent, const QString &received) {
            QElapsedTimer clock;
            clock.start();
            log->log_exchange(sent, received);
            logNs += clock.nsecsElapsed();
        });
        for (SetupItem *item : window.findChildren<SetupItem *>())
            QObject::connect(item->setting(), &Setting::changed, &window, [this, item] { ++changedItems[item->objectName()]; });
    }

    // View > All Settings, open from here on; the rows it updates are counted.
    void openAllSettings()
    {
        window.findChild<QAction *>(QStringLiteral("AllSettingsMenu"))->trigger();
        QObject::connect(window.allSettingsWindow()->model(), &QAbstractItemModel::dataChanged, &window,
                         [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                             for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                                 viewRows.insert(row);
                         });
    }

    bool connectAt(const QString &speedText)
    {
        auto *baud = window.findChild<QComboBox *>(QStringLiteral("SerBaudCombo"));
        baud->setCurrentIndex(baud->findText(speedText));
        window.findChild<QPushButton *>(QStringLiteral("ConnectButton"))->click();
        return link->is_connected();
    }

    // No menu entry: the backup read alone, as a factory reset or a download starts it.
    void walk(const QString &menuEntry)
    {
        if (menuEntry.isEmpty())
            window.transferCommands()->backup()->make(BackupStore(), QStringLiteral("bench"), QStringLiteral("bench"));
        else
            window.findChild<QAction *>(menuEntry)->trigger();
    }

    BenchPrompt prompt;
    NoOpener opener;
    CountingPortIo port;
    QTX2SetlinkForm window;
    bool started = false;
    SerialForm *link = nullptr;
    QTimer *timer = nullptr;
    std::unique_ptr<PaintCounter> paints;
    qint64 logNs = 0;
    QHash<QString, int> changedItems; // editors that changed, by item
    QSet<int> viewRows;
};

// One exchange of sent and its reply counted in r against the floor.
FloorTimeline::Step countExchange(WalkResult &r, FloorTimeline &floor, const QString &sent, int sentBytes, int replyBytes)
{
    ++r.exchanges;
    r.bytesSent += sentBytes;
    r.bytesReceived += replyBytes;
    const FloorTimeline::Step step = floor.add(sent, replyBytes);
    r.floorMs += step.before + step.reply + step.after;
    r.lineFloorMs += floor.lineStepMs(sent, sentBytes, replyBytes);
    return step;
}

WalkResult runWalk(Rig &rig, Simulator &sim, FloorTimeline &floor, int speed, const QString &name,
                   const QString &menuEntry)
{
    WalkResult r;
    r.speed = speed;
    r.walk = name;
    const int boxesBefore = rig.prompt.count;
    floor.restart();
    rig.port.reset();
    rig.paints->reset();
    rig.logNs = 0;
    rig.changedItems.clear();
    rig.viewRows.clear();
    auto *app = static_cast<BenchApplication *>(qApp);
    const qint64 repaint0 = app->repaintNs;
    qint64 endNs = rig.port.clock.nsecsElapsed();
    const QMetaObject::Connection counter = QObject::connect(
        rig.link, &SerialForm::exchanged, [&](const QString &sent, const QString &reply) {
            const qint64 now = rig.port.clock.nsecsElapsed();
            const CountingPortIo &p = rig.port;
            const int sentBytes = int(sent.toLatin1().size()) + 1;       // message + CR
            const int replyBytes = 1 + int(reply.toLatin1().size()) + 1; // "*" + payload + CR
            const FloorTimeline::Step step = countExchange(r, floor, sent, sentBytes, replyBytes);
            r.beforeMs += double(p.lastWriteNs - endNs) / 1e6;
            r.beforeFloorMs += step.before;
            r.replyMs += double(p.lastReadNs - p.lastWriteNs) / 1e6;
            r.replyFloorMs += step.reply;
            r.afterMs += double(now - p.lastReadNs) / 1e6;
            r.afterFloorMs += step.after;
            endNs = now;
        });

    // A walk starts on a quiet line, as a command a user gives does: the pauses still owed
    // after the last walk's last reply are not this walk's.
    QThread::msleep(50);
    endNs = rig.port.clock.nsecsElapsed();
    const double simCpu0 = sim.cpuSeconds();
    const double cpu0 = cpuSecondsSelf();
    QElapsedTimer clock;
    clock.start();
    rig.walk(menuEntry);
    r.wallMs = double(clock.nsecsElapsed()) / 1e6;
    const double cpu1 = cpuSecondsSelf();
    const double simCpu1 = sim.cpuSeconds();

    QObject::disconnect(counter);
    r.reads = rig.port.reads;
    r.paints = rig.paints->all;
    r.tabBarPaints = rig.paints->tabBar;
    r.mostPainted = rig.paints->mostPainted();
    r.repaintMs = double(app->repaintNs - repaint0) / 1e6;
    r.logMs = double(rig.logNs) / 1e6;
    r.changedItems = rig.changedItems.keys();
    r.changedItems.sort();
    if (rig.window.allSettingsWindow())
        r.viewRows = int(rig.viewRows.size());
    r.messages = rig.port.writes;
    r.portSent = rig.port.sent;
    r.portReceived = rig.port.received;
    r.cpuPercent = r.wallMs > 0 ? 100.0 * (cpu1 - cpu0) * 1000.0 / r.wallMs : 0.0;
    if (simCpu0 >= 0 && simCpu1 >= 0 && r.wallMs > 0)
        r.simCpuPercent = 100.0 * (simCpu1 - simCpu0) * 1000.0 / r.wallMs;
    r.messageBoxes = rig.prompt.count - boxesBefore;
    return r;
}

// qtx2ctl download --verify as a script runs it: a process of its own, timed from its start
// to its exit, so the connection's exchanges and the process's start are in the wall time
// (and the connection's in the floor). Its exchanges are read from its --verbose log.
WalkResult runCtl(const QString &program, Simulator &sim, FloorTimeline &floor, int speed, const QString &file)
{
    WalkResult r;
    r.speed = speed;
    r.walk = QStringLiteral("ctl-dl+vf");
    floor.restart();
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    const double simCpu0 = sim.cpuSeconds();
    QProcess ctl;
    QElapsedTimer clock;
    clock.start();
    ctl.start(program, {QStringLiteral("--device"), sim.slavePath, QStringLiteral("--baud"), QString::number(speed),
                        QStringLiteral("--verbose"), QStringLiteral("download"), file, QStringLiteral("--verify")});
    ctl.waitForFinished(600000);
    r.wallMs = double(clock.nsecsElapsed()) / 1e6;
    const double simCpu1 = sim.cpuSeconds();
    getrusage(RUSAGE_CHILDREN, &after);
    auto seconds = [](const rusage &u) {
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    r.cpuPercent = 100.0 * (seconds(after) - seconds(before)) * 1000.0 / r.wallMs;
    if (simCpu0 >= 0 && simCpu1 >= 0)
        r.simCpuPercent = 100.0 * (simCpu1 - simCpu0) * 1000.0 / r.wallMs;
    // "HH:mm:ss.zzz: " + message + " -> " + reply, as qtx2ctl times its lines (or "HH:mm:ss: ",
    // as the communications log writes them).
    for (const QString &line : QString::fromLatin1(ctl.readAllStandardError()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("qtx2ctl: ")))
            ++r.messageBoxes;
        const qsizetype stamp = line.indexOf(QStringLiteral(": "));
        const qsizetype arrow = line.indexOf(QStringLiteral(" -> "));
        if ((stamp != 8 && stamp != 12) || arrow < stamp + 2)
            continue;
        const QString sent = line.mid(stamp + 2, arrow - stamp - 2);
        const int sentBytes = int(sent.size()) + 1;
        const int replyBytes = 1 + int(line.size() - arrow - 4) + 1;
        countExchange(r, floor, sent, sentBytes, replyBytes);
    }
    r.messages = r.exchanges;
    r.portSent = r.bytesSent;
    r.portReceived = r.bytesReceived;
    if (ctl.exitStatus() != QProcess::NormalExit || ctl.exitCode() != 0)
        err(QStringLiteral("qtx2ctl download --verify ended with %1").arg(ctl.exitCode()));
    return r;
}

// The bare round trip of one short message through the pseudo-terminal and the
// simulator, with no pause, item or window work: the least any exchange takes beyond
// its floor on this machine. The link drops the reply unread by anyone; the port still
// counts it.
QString bareRoundTrip(Rig &rig, int speed, int latency)
{
    constexpr int Rounds = 40;
    SerialForm::Timing noPauses;
    noPauses.pauseBefore = noPauses.pauseAfter = noPauses.setCommandPause = 0;
    double sum = 0, best = 1e9;
    int done = 0;
    double floorMs = 0;
    for (int i = 0; i < Rounds; ++i) {
        QThread::msleep(25); // the line is quiet again
        rig.port.sawCarriageReturn = false;
        const QByteArray message = QStringLiteral("$%1RXM").arg(rig.link->get_nodeid()).toLatin1();
        const qint64 start = rig.port.clock.nsecsElapsed();
        rig.port.write(message + '\r');
        QElapsedTimer guard;
        guard.start();
        while (!rig.port.sawCarriageReturn && guard.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
        if (!rig.port.sawCarriageReturn)
            continue;
        const double ms = double(rig.port.lastReadNs - start) / 1e6;
        sum += ms;
        best = std::min(best, ms);
        ++done;
        if (floorMs == 0) {
            FloorTimeline floor(speed, latency, noPauses);
            floor.restart();
            floorMs = floor.add(QString::fromLatin1(message), int(rig.port.received)).reply;
        }
        rig.port.reset();
    }
    if (done == 0)
        return QStringLiteral("%1 bare round trip: no reply").arg(speed, 6);
    return QStringLiteral("%1 bare round trip of \"$0RXM\": %2 ms mean, %3 ms best, floor %4 ms (%5 rounds)")
        .arg(speed, 6)
        .arg(sum / done, 0, 'f', 3)
        .arg(best, 0, 'f', 3)
        .arg(floorMs, 0, 'f', 1)
        .arg(done);
}

QString header()
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12")
        .arg(QStringLiteral("speed"), 6)
        .arg(QStringLiteral("walk"), -9)
        .arg(QStringLiteral("exchanges"), 9)
        .arg(QStringLiteral("bytes"), 10)
        .arg(QStringLiteral("wall_ms"), 9)
        .arg(QStringLiteral("floor_ms"), 9)
        .arg(QStringLiteral("ratio"), 6)
        .arg(QStringLiteral("over_ms/x"), 9)
        .arg(QStringLiteral("cpu%"), 6)
        .arg(QStringLiteral("sim_cpu%"), 8)
        .arg(QStringLiteral("line_ms"), 8)
        .arg(QStringLiteral("targets"));
}

QString row(const WalkResult &r)
{
    QString notes = r.meetsTargets() ? QStringLiteral("met") : QStringLiteral("MISSED");
    if (r.messages != r.exchanges)
        notes += QStringLiteral(" (%1 time-outs)").arg(r.messages - r.exchanges);
    if (r.portSent != r.bytesSent || r.portReceived != r.bytesReceived)
        notes += QStringLiteral(" (port counted %1/%2 bytes)").arg(r.portSent).arg(r.portReceived);
    if (r.messageBoxes > 0)
        notes += QStringLiteral(" (%1 messages)").arg(r.messageBoxes);
    if (r.viewRows >= 0)
        notes += QStringLiteral(" (view: %1 rows updated)").arg(r.viewRows);
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12")
        .arg(r.speed, 6)
        .arg(r.walk, -9)
        .arg(r.exchanges, 9)
        .arg(QStringLiteral("%1/%2").arg(r.bytesSent).arg(r.bytesReceived), 10)
        .arg(r.wallMs, 9, 'f', 1)
        .arg(r.floorMs, 9, 'f', 1)
        .arg(r.ratio(), 6, 'f', 3)
        .arg(r.overheadPerExchange(), 9, 'f', 2)
        .arg(r.cpuPercent, 6, 'f', 2)
        .arg(r.simCpuPercent < 0 ? QStringLiteral("?") : QString::number(r.simCpuPercent, 'f', 2), 8)
        .arg(r.lineFloorMs, 8, 'f', 1)
        .arg(notes);
}

// Mean per exchange, measured against floor.
QString breakdown(const WalkResult &r)
{
    const double n = std::max(1, r.exchanges);
    return QStringLiteral("%1 %2 per exchange (measured/floor ms): before write %3/%4, reply %5/%6 "
                          "(%7 reads), after reply %8/%9\n%12 repaints %10 ms (%11), log %13 ms\n%12 %14 editors changed%15")
        .arg(r.speed, 6)
        .arg(r.walk, -9)
        .arg(r.beforeMs / n, 0, 'f', 2)
        .arg(r.beforeFloorMs / n, 0, 'f', 2)
        .arg(r.replyMs / n, 0, 'f', 2)
        .arg(r.replyFloorMs / n, 0, 'f', 2)
        .arg(double(r.reads) / n, 0, 'f', 2)
        .arg(r.afterMs / n, 0, 'f', 2)
        .arg(r.afterFloorMs / n, 0, 'f', 2)
        .arg(r.repaintMs / n, 0, 'f', 3)
        .arg(r.mostPainted)
        .arg(QString(16, QLatin1Char(' ')))
        .arg(r.logMs / n, 0, 'f', 3)
        .arg(r.changedItems.size())
        .arg(r.changedItems.isEmpty() || r.changedItems.size() > 20
                 ? QString()
                 : QStringLiteral(": ") + r.changedItems.join(QStringLiteral(" ")));
}

// The run with the median wall time of each speed and walk.
QList<WalkResult> medians(const QList<WalkResult> &results)
{
    QList<WalkResult> outList;
    QList<QPair<int, QString>> keys;
    for (const WalkResult &r : results)
        if (!keys.contains(qMakePair(r.speed, r.walk)))
            keys << qMakePair(r.speed, r.walk);
    for (const auto &key : keys) {
        QList<WalkResult> runs;
        for (const WalkResult &r : results)
            if (r.speed == key.first && r.walk == key.second)
                runs << r;
        std::sort(runs.begin(), runs.end(), [](const WalkResult &a, const WalkResult &b) { return a.wallMs < b.wallMs; });
        outList << runs.at(runs.size() / 2);
    }
    return outList;
}

QString defaultCtl()
{
    const QString env = qEnvironmentVariable("QTX2CTL");
    if (!env.isEmpty())
        return env;
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../qtx2ctl"));
    return QFileInfo(beside).isExecutable() ? QFileInfo(beside).canonicalFilePath() : QStringLiteral(QTX2CTL_PATH);
}

QString defaultSimulator()
{
    const QString env = qEnvironmentVariable("QTX2_SIM");
    if (!env.isEmpty())
        return env;
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../qtx2-sim"));
    if (QFileInfo(beside).isExecutable())
        return QFileInfo(beside).canonicalFilePath();
    return QStringLiteral(QTX2_SIM_PATH);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its preferences; a run of the benchmark must not touch the user's.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", configHome.path().toLocal8Bit()); // and its backups
    PreciseWaits::enable(); // as the program itself
    BenchApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Works"));
    QCoreApplication::setApplicationName(QStringLiteral("QTX2Setlink"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times the upload and the download of all settings against qtx2-sim at each line speed."));
    parser.addHelpOption();
    const QCommandLineOption simOption(QStringLiteral("sim"),
                                       QStringLiteral("The qtx2-sim program (default: $QTX2_SIM, else ../qtx2-sim "
                                                      "beside this program, else the one of this build)."),
                                       QStringLiteral("path"));
    const QCommandLineOption speedsOption(QStringLiteral("speeds"),
                                          QStringLiteral("Line speeds in bit/s, comma-separated (default 19200,1200)."),
                                          QStringLiteral("list"), QStringLiteral("19200,1200"));
    const QCommandLineOption repeatOption(QStringLiteral("repeat"),
                                          QStringLiteral("Upload and download this many times at each speed (default 1)."),
                                          QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption latencyOption(QStringLiteral("latency"),
                                           QStringLiteral("The simulator's wait before every reply (default 0)."),
                                           QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption breakdownOption(QStringLiteral("breakdown"),
                                             QStringLiteral("Also show where the time of each walk went."));
    const QCommandLineOption logOption(QStringLiteral("log-shown"),
                                       QStringLiteral("With the communications log shown (it starts hidden)."));
    const QCommandLineOption oneProcessorOption(
        QStringLiteral("one-processor"),
        QStringLiteral("Run the window and the simulator on one processor: a reply then reaches the window without a "
                       "wake-up across processors, which on a virtual machine costs more than the exchange itself."));
    const QCommandLineOption allSettingsOption(QStringLiteral("all-settings"),
                                               QStringLiteral("With View > All Settings open through every walk."));
    parser.addOptions({simOption, speedsOption, repeatOption, latencyOption, breakdownOption, logOption, oneProcessorOption,
                       allSettingsOption});
    parser.process(app);
    app.timingRepaints = parser.isSet(breakdownOption);
    if (parser.isSet(oneProcessorOption)) {
        // The simulator and qtx2ctl are started from this thread and take its processor.
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(qMax(0, sched_getcpu()), &one);
        if (sched_setaffinity(0, sizeof one, &one) != 0) {
            err(QStringLiteral("--one-processor: %1").arg(QString::fromLocal8Bit(strerror(errno))));
            return 2;
        }
    }
    if (parser.isSet(logOption))
        QSettings().setValue(QStringLiteral("Expanded"), true);

    const QString sim = parser.isSet(simOption) ? parser.value(simOption) : defaultSimulator();
    if (sim.isEmpty() || !QFileInfo(sim).isExecutable()) {
        err(QStringLiteral("qtx2-sim not found (\"%1\"); give --sim or QTX2_SIM.").arg(sim));
        return 2;
    }
    QList<int> speeds;
    for (const QString &text : parser.value(speedsOption).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int speed = text.trimmed().toInt(&ok);
        if (!ok || !LineSpeeds.contains(speed)) {
            err(QStringLiteral("--speeds: \"%1\" is not one of 19200, 9600, 4800, 2400, 1200.").arg(text));
            return 2;
        }
        speeds << speed;
    }
    bool ok = false;
    const int repeat = parser.value(repeatOption).toInt(&ok);
    if (!ok || repeat < 1 || repeat > 1000) {
        err(QStringLiteral("--repeat: a whole number from 1 to 1000."));
        return 2;
    }
    const int latency = parser.value(latencyOption).toInt(&ok);
    if (!ok || latency < 0 || latency > 10000) {
        err(QStringLiteral("--latency: a whole number of milliseconds from 0 to 10000."));
        return 2;
    }
    if (speeds.isEmpty()) {
        err(QStringLiteral("--speeds: no speed given."));
        return 2;
    }

    out(QStringLiteral("qtx2-sim: %1").arg(sim));
    out(QStringLiteral("targets: ratio <= %1, over_ms/x < %2, cpu < %3 % of the wall time")
            .arg(TargetRatio)
            .arg(TargetOverMs)
            .arg(TargetCpuPercent));
    out(QStringLiteral("floor_ms: pauses + latency + the reply pacing of the simulator, which does not pace what it "
                       "receives; line_ms: pauses + latency + 10 bit times for every byte both ways; "
                       "bytes: sent/received; over_ms/x: (wall - floor) per exchange; ctl-dl+vf: qtx2ctl download "
                       "--verify at 19200, a process of its own from start to exit, cpu% its own"));
    out(QStringLiteral("machine: ") + sleepLateness());
    out(QString());
    out(header());

    QList<WalkResult> results;
    QStringList roundTrips;
    for (const int speed : speeds) {
        QTemporaryDir folder;
        if (!folder.isValid()) {
            err(QStringLiteral("cannot make a temporary ports folder: %1").arg(folder.errorString()));
            return 1;
        }
        Simulator simulator;
        QString error;
        QStringList options{QStringLiteral("--baud"), QString::number(speed), QStringLiteral("--line-time")};
        if (latency > 0)
            options << QStringLiteral("--latency") << QString::number(latency);
        if (!simulator.start(sim, folder.path(), options, &error)) {
            err(error);
            return 1;
        }
        Rig rig(folder.path(), parser.isSet(breakdownOption));
        if (parser.isSet(allSettingsOption))
            rig.openAllSettings();
        const QString speedText = QStringLiteral("%1 bps").arg(speed);
        if (!rig.started || !rig.connectAt(speedText)) {
            err(QStringLiteral("no connection to %1 (%2) at %3").arg(simulator.linkPath, simulator.slavePath, speedText));
            return 1;
        }
        FloorTimeline floor(speed, latency, rig.link->timing());
        for (int i = 0; i < repeat; ++i) {
            for (const auto &[name, entry] : {qMakePair(QStringLiteral("upload"), QStringLiteral("UploadMenu")),
                                              qMakePair(QStringLiteral("download"), QStringLiteral("DownloadMenu")),
                                              qMakePair(QStringLiteral("dl+verify"), QStringLiteral("DownloadMenu")),
                                              qMakePair(QStringLiteral("backup"), QString())}) {
                // The plain download neither backs up nor reads back; "dl+verify" reads back.
                rig.window.findChild<QAction *>(QStringLiteral("VerifyMenu"))->setChecked(name == "dl+verify");
                rig.window.findChild<QAction *>(QStringLiteral("BackupMenu"))->setChecked(false);
                const WalkResult r = runWalk(rig, simulator, floor, speed, name, entry);
                if (r.exchanges == 0) {
                    err(QStringLiteral("the %1 at %2 exchanged nothing").arg(name, speedText));
                    return 1;
                }
                out(row(r));
                results << r;
            }
        }
        if (parser.isSet(breakdownOption)) {
            rig.timer->stop();
            rig.port.reset();
            roundTrips << bareRoundTrip(rig, speed, latency);
        }
        rig.link->disconnect_qtx();
        if (speed == 19200) {
            const QString ctl = defaultCtl();
            const QString file = folder.filePath(QStringLiteral("settings.txt"));
            QProcess upload;
            upload.start(ctl, {QStringLiteral("--device"), simulator.slavePath, QStringLiteral("upload"), file});
            if (!upload.waitForFinished(60000) || upload.exitCode() != 0) {
                err(QStringLiteral("qtx2ctl (%1) could not upload: %2").arg(ctl, QString::fromLocal8Bit(upload.readAllStandardError())));
                return 1;
            }
            for (int i = 0; i < repeat; ++i) {
                const WalkResult r = runCtl(ctl, simulator, floor, speed, file);
                out(row(r));
                results << r;
            }
        }
    }

    if (parser.isSet(breakdownOption)) {
        out(QString());
        for (const WalkResult &r : results)
            out(breakdown(r));
        for (const QString &line : std::as_const(roundTrips))
            out(line);
    }

    if (repeat > 1) {
        out(QString());
        out(QStringLiteral("median of %1 runs:").arg(repeat));
        out(header());
        for (const WalkResult &r : medians(results))
            out(row(r));
    }
    return 0;
}
