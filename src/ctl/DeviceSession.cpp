// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/DeviceSession.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "link/ExchangeLog.h"
#include "link/PortDirectory.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"
#include "model/WalkReport.h"
#include "operations/DeviceReading.h"

namespace {

const QString Timeout = QStringLiteral("TIMEOUT ERROR");

PortDirectory directoryFor(const CtlRequest &request)
{
    return request.device.isEmpty() ? PortDirectory() : PortDirectory::single(request.device);
}

} // namespace

DeviceSession::DeviceSession(const CtlRequest &request, Console &console)
    : m_request(request), m_console(console), m_prompt(console), m_io(directoryFor(request)),
      m_link(&m_io, &m_prompt), m_answered(&m_link)
{
    QObject::connect(&m_signals, &SignalWatcher::signalled, [this] { m_answered.interrupt(); });
    if (!request.verbose)
        return;
    const auto log = [this](const QString &sent, const QString &reply) {
        m_console.note(ExchangeLog::preciseLine(QTime::currentTime(), sent, reply));
    };
    QObject::connect(&m_link, &SerialForm::exchanged, log);
    QObject::connect(&m_link, &SerialForm::exchangeFailed,
                     [log](const QString &sent, const QString &why) { log(sent, QLatin1Char('(') + why + QLatin1Char(')')); });
}

QString DeviceSession::whereAt(int n) const
{
    if (!m_request.device.isEmpty())
        return m_request.device;
    const QString location = m_io.describePort(n);
    return PortDirectory::portName(n) + (location.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(location));
}

QString DeviceSession::where() const
{
    return whereAt(m_request.device.isEmpty() ? m_request.port : 1);
}

bool DeviceSession::tryPort(int n, QString *location, QString *why)
{
    const bool opens = m_link.scanPort(qint16(n));
    *location = m_io.describePort(n);
    *why = opens ? QString() : m_io.lastErrorText();
    return opens;
}

bool DeviceSession::connect()
{
    const int port = m_request.device.isEmpty() ? m_request.port : 1;
    QString why;
    if (m_link.scanPort(qint16(port))
        && m_link.open_qtx(PortDirectory::portName(port), QString::number(m_request.baud), qint16(m_request.node)))
        return true;
    if (m_io.lastOpenFailure() != SerialPortIo::OpenFailure::None) {
        why = QStringLiteral("cannot open %1: %2").arg(where(), m_io.lastErrorText());
        if (m_io.lastOpenFailure() == SerialPortIo::OpenFailure::Permission)
            why += QStringLiteral(" Is the user a member of the \"dialout\" group?");
        else if (m_request.device.isEmpty() && m_io.lastOpenFailure() == SerialPortIo::OpenFailure::Absent)
            why += QStringLiteral(" qtx2ctl ports lists what each COMn stands for.");
        m_console.error(why);
        return false;
    }
    const QString node = QString::number(m_link.get_nodeid());
    const QString asked = m_request.node < 0
        ? QStringLiteral("asked for the node ID with $0RID (taking %1), then for the identity with $%1RMV").arg(node)
        : QStringLiteral("asked node %1 for its identity with $%1RMV").arg(node);
    const QString identity = m_link.version_text();
    const QString got = identity == Timeout ? QStringLiteral("got no reply")
                                            : QStringLiteral("got \"%1\", which is not a QTX2's").arg(identity);
    m_console.error(QStringLiteral("no QTX2 on %1 at %2 bit/s: %3 and %4. Check the cable, --baud and --node.")
                        .arg(where())
                        .arg(m_request.baud)
                        .arg(asked, got));
    return false;
}

bool DeviceSession::answering()
{
    if (m_answered.interrupted())
        return false;
    if (m_answered.answering())
        return true;
    m_console.error(QStringLiteral("the device on %1 stopped answering: no reply to %2.")
                        .arg(where(), m_answered.unanswered()));
    return false;
}

ExitCode DeviceSession::ended(const WalkReport &report, const QString &what)
{
    return ended(QStringLiteral("the device on %1 %2 %3 of %4 settings, the rest not")
                     .arg(where(), what)
                     .arg(report.done())
                     .arg(report.entries.size()));
}

ExitCode DeviceSession::ended(const QString &howFar)
{
    if (interrupted()) {
        m_console.error(QStringLiteral("interrupted: %1; %2.").arg(howFar, protection()));
        return ExitCode::Interrupted;
    }
    return answering() ? ExitCode::Ok : ExitCode::NoDevice;
}

ExitCode DeviceSession::outcome(const WalkReport &report, const QString &what)
{
    const ExitCode end = ended(report, what);
    if (end != ExitCode::Ok)
        return end;
    if (report.complete())
        return ExitCode::Ok;
    m_console.error(QStringLiteral("the device on %1 %2 %3 of %4 settings; not: %5.")
                        .arg(where(), what)
                        .arg(report.done())
                        .arg(report.entries.size())
                        .arg(report.failedText(8)));
    return ExitCode::NotDone;
}

ExitCode DeviceSession::outcome(const ExchangeResult &result, const QString &message)
{
    if (interrupted()) {
        m_console.error(QStringLiteral("interrupted before $%1%2 had an answer; %3.")
                            .arg(m_link.get_nodeid())
                            .arg(message, protection()));
        return ExitCode::Interrupted;
    }
    if (!answering())
        return ExitCode::NoDevice;
    if (result.ok())
        return ExitCode::Ok;
    m_console.error(QStringLiteral("the device on %1 answered $%2%3 with %4.")
                        .arg(where())
                        .arg(m_link.get_nodeid())
                        .arg(message, result.describe()));
    return ExitCode::NotDone;
}

ExitCode DeviceSession::readUnits(SettingsSet &set)
{
    const ExitCode read = outcome(set.unitsItem()->ser_read(), QStringLiteral("RPU"));
    if (read == ExitCode::Ok)
        set.refreshCurrentUnits();
    return read;
}

ExitCode DeviceSession::readDevice(DeviceReading &device, const QString &progressPrefix, const QString &what,
                                   bool everySetting)
{
    showProgress(device);
    device.read(progressPrefix);
    return everySetting ? outcome(device.report(), what) : ended(device.report(), what);
}

QString DeviceSession::protection() const
{
    return m_link.write_protected() ? QStringLiteral("it is write-protected as it was")
                                    : QStringLiteral("it is left write-enabled");
}

void DeviceSession::progress(const QString &text)
{
    m_console.progress(text);
}

void DeviceSession::warn(const QString &text)
{
    m_console.warning(text);
}
