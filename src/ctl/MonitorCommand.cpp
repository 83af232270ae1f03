// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/MonitorCommand.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "link/SerialForm.h"
#include "model/PositionPoll.h"
#include "model/TrendBuffer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

// The window's poll, on the window's clock: one read a tick, four ticks a second. Each
// line is one read: its time, and the position read in its own column; the others are
// left empty.
ExitCode MonitorCommand::run()
{
    if (!m_session.connect())
        return ExitCode::NoDevice;
    SerialForm &link = m_session.link();
    PositionPoll poll(&link);
    poll.setMagnetsWanted(m_request.magnets);
    QTimer ticks;
    ticks.setInterval(250);
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    int lines = 0;
    ExitCode code = ExitCode::Ok;
    m_console.out(TrendBuffer::csvHeader(QString()));
    QObject::connect(&ticks, &QTimer::timeout, &poll, &PositionPoll::tick);
    QObject::connect(&poll, &PositionPoll::read, &loop, [&](const PositionReading &reading) {
        if (reading.status == PositionReading::Status::NotConnected) {
            m_console.error(QStringLiteral("%1 stopped answering.").arg(m_session.where()));
            code = ExitCode::NoDevice;
            loop.quit();
            return;
        }
        TrendBuffer::Cells cells;
        if (reading.hasValue() && reading.position >= 0 && reading.position < TrendBuffer::SeriesCount)
            cells[size_t(reading.position)] = reading.value;
        m_console.out(TrendBuffer::csvRow(clock.elapsed(), std::nullopt, cells));
        if (m_request.count > 0 && ++lines >= m_request.count)
            loop.quit();
    });
    // Ctrl-C is how a monitor is stopped: the lines so far are the result.
    QObject::connect(&m_session.signalWatcher(), &SignalWatcher::signalled, &loop, &QEventLoop::quit);
    ticks.start();
    loop.exec();
    return code;
}
