// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PortLink.h"
#include "BuildInfo.h"
#include "PtyServer.h"
#include "Qtx2Device.h"
#include "link/SignalWatcher.h"
#include "link/PreciseWaits.h"
#include "SimOptions.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

namespace {

void say(FILE *stream, const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// Control characters and bytes above 127 as escapes, for the verbose log.
QString visible(const QByteArray &bytes)
{
    QString out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\r')
            out += QStringLiteral("\\r");
        else if (b == '\n')
            out += QStringLiteral("\\n");
        else if (b < 32 || b > 126)
            out += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char(char(b));
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    // Replies are paced at the line speed by timers: woken late, every byte would be.
    PreciseWaits::enable();
    QCoreApplication app(argc, argv);
    // The ports folder is the application's: same organisation and name.
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Works"));
    QCoreApplication::setApplicationName(QStringLiteral("QTX2Setlink"));

    SimOptions options;
    QString message;
    switch (SimOptions::parse(app.arguments(), &options, &message)) {
    case SimOptions::Outcome::Help:
        say(stdout, message);
        return 0;
    case SimOptions::Outcome::Version:
        say(stdout, QStringLiteral("qtx2-sim " SETLINK_VERSION "\n" SETLINK_LICENCE_NOTICE));
        return 0;
    case SimOptions::Outcome::Error:
        say(stderr, message);
        return 2;
    case SimOptions::Outcome::Run:
        break;
    }

    Qtx2Device device;
    options.configure(&device);

    PtyServer server(&device);
    server.setLineRate(options.lineTime ? options.baud : 0);
    if (!server.start()) {
        say(stderr, server.errorText());
        return 1;
    }

    const QString folder = options.portsFolder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/ports")
        : options.portsFolder;
    PortLink link;
    if (!link.create(folder, options.port, server.slavePath(), &message)) {
        say(stderr, message);
        return 1;
    }
    say(stdout, server.slavePath());
    say(stdout, link.path());

    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::signalled, &app, &QCoreApplication::quit);
    if (options.quitAfterSeconds > 0)
        QTimer::singleShot(options.quitAfterSeconds * 1000, &app, &QCoreApplication::quit);

    // A pulled cable takes the port away, as an unplugged adapter would.
    QObject::connect(&server, &PtyServer::cablePulled, &app, [&] {
        link.remove();
        if (options.verbose)
            say(stdout, QStringLiteral("cable pulled"));
    });
    if (options.verbose) {
        QObject::connect(&server, &PtyServer::messageReceived, &app,
                         [](const QString &m) { say(stdout, QStringLiteral("<- ") + m); });
        QObject::connect(&server, &PtyServer::replyMade, &app,
                         [](const QByteArray &r) { say(stdout, QStringLiteral("-> ") + visible(r)); });
    }

    const int rc = app.exec();
    link.remove();
    return rc;
}
