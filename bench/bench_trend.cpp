// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// The position trend over long runs.
//
// memory: an hour of readings at four a second (the displayed position and 15 magnets,
// now and then a time-out) fed through the real trend window on a fast clock, the window
// drawn after every reading; the process's resident memory every five minutes.
//
// cpu: the program's own main window polling qtx2-sim on a pseudo-terminal in real time,
// magnets on, first without and then with the trend window open: the share of one core
// this process spends, and its memory. With --png the trend window is then saved as a
// picture, and again after the link has closed and opened again and after a download
// has changed the device's unit to millimetres.

#include "BenchSupport.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPortIo.h"
#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/PositionPoll.h"
#include "monitor/PositionMonitor.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"
#include "monitor/TrendPlot.h"
#include "monitor/TrendRecorder.h"
#include "monitor/TrendWindow.h"
#include "shell/DesktopOpener.h"
#include "shell/QTX2SetlinkForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <malloc.h>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#ifndef QTX2_SIM_PATH
#define QTX2_SIM_PATH ""
#endif

namespace {

using namespace BenchSupport;

constexpr double TargetCpuPercent = 2.0;

// Bytes the program holds on the heap, in MiB: resident memory can creep while this
// stays flat, as freed blocks of varying size leave the allocator's pages in use.
double heapInUseMiB()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

// Resident memory of this process, in MiB.
double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : -1;
}

void runEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int memoryRun(int minutes)
{
    out(QStringLiteral("memory: %1 minutes of readings at 4 a second through the trend window, drawn after each")
            .arg(minutes));
    qint64 now = 0;
    TrendWindow window(nullptr, nullptr);
    window.recorder()->setClock([&now] { return now; }, QDateTime::currentMSecsSinceEpoch());
    window.show();
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSecondsSelf();
    int position = 0;
    for (qint64 tick = 1; tick <= qint64(minutes) * 60 * 4; ++tick) {
        now = tick * 250;
        // Now and then a read times out, so the lines break and join again.
        const double inches = 4.0 + 3.0 * position + std::sin(double(now) / (8000.0 + 1700.0 * position));
        const QString reply = tick % 37 == 0 ? QStringLiteral("No Magnet") : QString::number(inches, 'f', 4);
        PositionReading reading = PositionReading::fromReply(position, reply, true);
        reading.unit = 0; // inches
        window.recorder()->take(reading);
        position = (position + 1) % TrendBuffer::SeriesCount;
        window.redraw();
        QCoreApplication::processEvents();
        if (tick % (5 * 60 * 4) == 0) {
            int samples = 0, lines = 0;
            for (int s = 0; s < TrendBuffer::SeriesCount; ++s) {
                samples += window.buffer().count(s);
                lines += window.plot()->lineCount(s);
            }
            out(QStringLiteral("  at %1 min: heap in use %2 MiB, resident %3 MiB, %4 samples held, %5 lines drawn")
                    .arg(tick / 240, 3)
                    .arg(heapInUseMiB(), 0, 'f', 3)
                    .arg(residentMiB(), 0, 'f', 1)
                    .arg(samples)
                    .arg(lines));
        }
    }
    out(QStringLiteral("  %1 draws in %2 s of wall time, %3 ms of CPU per draw")
            .arg(qint64(minutes) * 240)
            .arg(double(wall.elapsed()) / 1000.0, 0, 'f', 1)
            .arg((cpuSecondsSelf() - cpu0) * 1000.0 / (double(minutes) * 240.0), 0, 'f', 3));
    return 0;
}

// The trend window as a picture, at path with suffix before its extension.
void savePicture(TrendWindow *trend, const QString &path, const QString &suffix)
{
    const QFileInfo info(path);
    const QString file = info.dir().filePath(info.completeBaseName() + suffix + QLatin1Char('.') + info.suffix());
    trend->redraw();
    // The chart lays out new lines' legend entries in the event loop, not at once.
    QCoreApplication::processEvents();
    const bool saved = trend->grab().save(file);
    out(QStringLiteral("picture: %1 (%2)%3")
            .arg(file, trend->plot()->chart()->axes(Qt::Vertical).first()->titleText(),
                 saved ? QString() : QStringLiteral(" NOT SAVED")));
}

// qtx2-sim serving a pseudo-terminal as COM1 in a folder of its own.
struct Span
{
    double cpuPercent = 0;
    double simCpuPercent = 0;
    int readings = 0;
    double residentBefore = 0;
    double residentAfter = 0;
    double heapBefore = 0;
    double heapAfter = 0;
};

Span measure(int seconds, const Simulator &sim, const int &readings)
{
    Span span;
    span.residentBefore = residentMiB();
    span.heapBefore = heapInUseMiB();
    const int readings0 = readings;
    const double cpu0 = cpuSecondsSelf();
    const double sim0 = sim.cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runEvents(seconds * 1000);
    const double wallS = double(wall.elapsed()) / 1000.0;
    span.cpuPercent = 100.0 * (cpuSecondsSelf() - cpu0) / wallS;
    span.simCpuPercent = 100.0 * (sim.cpuSeconds() - sim0) / wallS;
    span.readings = readings - readings0;
    span.residentAfter = residentMiB();
    span.heapAfter = heapInUseMiB();
    return span;
}

QString row(const QString &name, int seconds, const Span &s)
{
    return QStringLiteral("  %1 %2 s: cpu %3 % of a core (%4), %5 readings, resident %6 -> %7 MiB, "
                          "heap in use %9 -> %10 MiB, qtx2-sim cpu %8 %")
        .arg(name, -22)
        .arg(seconds)
        .arg(s.cpuPercent, 0, 'f', 2)
        .arg(s.cpuPercent < TargetCpuPercent ? QStringLiteral("met") : QStringLiteral("MISSED"))
        .arg(s.readings)
        .arg(s.residentBefore, 0, 'f', 1)
        .arg(s.residentAfter, 0, 'f', 1)
        .arg(s.simCpuPercent, 0, 'f', 2)
        .arg(s.heapBefore, 0, 'f', 2)
        .arg(s.heapAfter, 0, 'f', 2);
}

int cpuRun(const QString &simProgram, int magnets, int seconds, const QString &png)
{
    QTemporaryDir folder;
    Simulator sim;
    QString error;
    if (!folder.isValid() || !sim.start(simProgram, folder.path(), {QStringLiteral("--magnets"), QString::number(magnets)}, &error)) {
        out(QStringLiteral("cannot start %1").arg(simProgram));
        return 1;
    }
    BenchPrompt prompt;
    NoOpener opener;
    QtSerialPortIo port(PortDirectory(folder.path(), QStringList()));
    QTX2SetlinkForm window(&port, &prompt, &opener);
    window.setQuitHandler([] {});
    if (!window.start())
        return 1;
    window.show();
    window.findChild<QPushButton *>(QStringLiteral("ConnectButton"))->click();
    if (!window.serialForm()->is_connected()) {
        out(QStringLiteral("no connection to qtx2-sim"));
        return 1;
    }
    auto *magnetsMenu = window.findChild<QAction *>(QStringLiteral("MagPosnMenu"));
    if (!magnetsMenu->isChecked())
        magnetsMenu->trigger();
    int readings = 0;
    QObject::connect(window.findChild<PositionMonitor *>()->poll(), &PositionPoll::read, [&readings] { ++readings; });

    out(QStringLiteral("cpu: the main window polling qtx2-sim --magnets %1 in real time (target: under %2 % of a core)")
            .arg(magnets)
            .arg(TargetCpuPercent));
    runEvents(3000); // settle after connecting
    const Span without = measure(seconds, sim, readings);
    out(row(QStringLiteral("trend window closed"), seconds, without));
    int held = 0;
    for (int s = 0; s < TrendBuffer::SeriesCount; ++s)
        held += window.findChild<TrendRecorder *>()->buffer().count(s);
    out(QStringLiteral("  samples the trend holds before its window first opens: %1").arg(held));
    window.findChild<QAction *>(QStringLiteral("TrendMenu"))->trigger();
    auto *trend = window.findChild<TrendWindow *>();
    runEvents(3000);
    const Span with = measure(seconds, sim, readings);
    out(row(QStringLiteral("trend window open"), seconds, with));
    out(QStringLiteral("  the trend window's share: %1 % of a core").arg(with.cpuPercent - without.cpuPercent, 0, 'f', 2));

    if (!png.isEmpty()) {
        savePicture(trend, png, QString());
        // The link closed for a while: the lines break there.
        auto *connectButton = window.findChild<QPushButton *>(QStringLiteral("ConnectButton"));
        connectButton->click();
        runEvents(8000);
        connectButton->click();
        runEvents(8000);
        savePicture(trend, png, QStringLiteral("-reconnected"));
        // The device's unit changed by a download from the form: the history is shown in the new unit.
        window.settings()->unitsItem()->choose(3); // MM
        window.findChild<QAction *>(QStringLiteral("DownloadMenu"))->trigger();
        runEvents(8000);
        savePicture(trend, png, QStringLiteral("-millimetres"));
    }
    window.serialForm()->disconnect_qtx();
    return 0;
}

QString defaultSimulator()
{
    const QString env = qEnvironmentVariable("QTX2_SIM");
    if (!env.isEmpty())
        return env;
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../qtx2-sim"));
    return QFileInfo(beside).isExecutable() ? QFileInfo(beside).canonicalFilePath() : QStringLiteral(QTX2_SIM_PATH);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows keep their preferences and places; a run must not touch the user's.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", configHome.path().toLocal8Bit()); // the backups before a download
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Works"));
    QCoreApplication::setApplicationName(QStringLiteral("QTX2Setlink"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Memory and processor time of the position trend."));
    parser.addHelpOption();
    const QCommandLineOption simOption(QStringLiteral("sim"), QStringLiteral("The qtx2-sim program."),
                                       QStringLiteral("path"));
    const QCommandLineOption minutesOption(QStringLiteral("minutes"),
                                           QStringLiteral("Simulated minutes of the memory run (default 60)."),
                                           QStringLiteral("n"), QStringLiteral("60"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"),
                                           QStringLiteral("Real seconds of each half of the cpu run (default 120)."),
                                           QStringLiteral("n"), QStringLiteral("120"));
    const QCommandLineOption magnetsOption(QStringLiteral("magnets"),
                                           QStringLiteral("Magnets on the simulated probe (default 15)."),
                                           QStringLiteral("n"), QStringLiteral("15"));
    const QCommandLineOption pngOption(QStringLiteral("png"), QStringLiteral("Save the trend window as this picture."),
                                       QStringLiteral("file"));
    const QCommandLineOption skipMemory(QStringLiteral("no-memory"), QStringLiteral("Skip the memory run."));
    const QCommandLineOption skipCpu(QStringLiteral("no-cpu"), QStringLiteral("Skip the cpu run."));
    parser.addOptions({simOption, minutesOption, secondsOption, magnetsOption, pngOption, skipMemory, skipCpu});
    parser.process(app);

    bool ok1 = false, ok2 = false, ok3 = false;
    const int minutes = parser.value(minutesOption).toInt(&ok1);
    const int seconds = parser.value(secondsOption).toInt(&ok2);
    const int magnets = parser.value(magnetsOption).toInt(&ok3);
    if (!ok1 || !ok2 || !ok3 || minutes < 1 || minutes > 24 * 60 || seconds < 1 || seconds > 24 * 3600
        || magnets < 1 || magnets > 15) {
        out(QStringLiteral("--minutes, --seconds and --magnets take whole numbers (magnets 1 to 15)."));
        return 2;
    }
    if (!parser.isSet(skipMemory) && memoryRun(minutes) != 0)
        return 1;
    if (parser.isSet(skipCpu))
        return 0;
    const QString sim = parser.isSet(simOption) ? parser.value(simOption) : defaultSimulator();
    if (sim.isEmpty() || !QFileInfo(sim).isExecutable()) {
        out(QStringLiteral("qtx2-sim not found (\"%1\"); give --sim or QTX2_SIM.").arg(sim));
        return 2;
    }
    return cpuRun(sim, magnets, seconds, parser.value(pngOption));
}
