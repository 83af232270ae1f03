// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/MonitorCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "link/SerialForm.h"
#include "model/LengthUnits.h"
#include "model/ListSetting.h"
#include "model/PositionPoll.h"
#include "model/SettingsSet.h"
#include "model/TrendBuffer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

// A device that gives no reply for this long is taken as gone.
constexpr qint64 SilenceMs = 2000;

QString statusWord(PositionReading::Status status)
{
    switch (status) {
    case PositionReading::Status::Value:
        return QStringLiteral("ok");
    case PositionReading::Status::NoMagnet:
        return QStringLiteral("no magnet");
    case PositionReading::Status::NoTransducer:
        return QStringLiteral("no transducer");
    case PositionReading::Status::TimedOut:
        return QStringLiteral("time-out");
    case PositionReading::Status::NotConnected:
        return QStringLiteral("not connected");
    case PositionReading::Status::Unreadable:
        return QStringLiteral("unreadable");
    }
    return QString();
}

} // namespace

// The window's poll: one read a tick. Each line is one read: its time, as seconds and as
// a date, what the read gave, and the position read in its own column (the others empty),
// in the unit the header names.
ExitCode MonitorCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    SettingsSet set(m_session.parameters());
    const ExitCode unitsRead = m_session.readUnits(set);
    if (unitsRead != ExitCode::Ok)
        return unitsRead;
    SerialForm &link = m_session.link();
    PositionPoll poll(&link);
    poll.setMagnetsWanted(m_request.magnets);
    QTimer ticks;
    ticks.setInterval(m_request.interval);
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    qint64 lastReplyMs = 0;
    int lines = 0;
    ExitCode code = ExitCode::Ok;
    const auto stop = [&](ExitCode why, const QString &message) {
        m_console.error(message);
        code = why;
        loop.quit();
    };
    m_console.out(TrendBuffer::csvHeader(LengthUnits::selectorTexts().value(set.unitsItem()->getindex()), true,
                                         {QStringLiteral("Status")}));
    QObject::connect(&ticks, &QTimer::timeout, &poll, &PositionPoll::tick);
    QObject::connect(&poll, &PositionPoll::read, &loop, [&](const PositionReading &reading) {
        const qint64 now = clock.elapsed();
        TrendBuffer::Cells cells;
        if (reading.hasValue() && reading.position >= 0 && reading.position < TrendBuffer::SeriesCount)
            cells[size_t(reading.position)] = reading.value;
        m_console.out(TrendBuffer::csvRow(now, QDateTime::currentMSecsSinceEpoch(), cells, {statusWord(reading.status)}));
        if (m_console.outputFailed())
            return loop.quit();
        if (reading.status == PositionReading::Status::NotConnected)
            return stop(ExitCode::NoDevice, QStringLiteral("%1 is gone: the port closed.").arg(m_session.where()));
        if (reading.status != PositionReading::Status::TimedOut)
            lastReplyMs = now;
        else if (now - lastReplyMs >= SilenceMs)
            return stop(ExitCode::NoDevice, QStringLiteral("the device on %1 stopped answering: no reply for %2 s.")
                                                .arg(m_session.where())
                                                .arg(double(now - lastReplyMs) / 1000.0, 0, 'f', 1));
        if (m_request.count > 0 && ++lines >= m_request.count)
            loop.quit();
    });
    // Ctrl-C is how a monitor is stopped: the lines so far are the result.
    QObject::connect(&m_session.signalWatcher(), &SignalWatcher::signalled, &loop, &QEventLoop::quit);
    ticks.start();
    loop.exec();
    return code;
}
