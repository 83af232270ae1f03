// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/PreciseWaits.h"
#include "link/QtSerialPortIo.h"
#include "shell/ConnectionPanel.h"
#include "shell/DesktopOpener.h"
#include "shell/DialogPrompt.h"
#include "shell/QTX2SetlinkForm.h"
#include "shell/StartOptions.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

void setNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Works"));
    QCoreApplication::setApplicationName(QStringLiteral("QTX2Setlink"));
}

void say(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', stream);
}

// Help, the version and bad arguments are answered before any window system is asked
// for, so they work without a display. Empty when the window should start.
std::optional<int> answerWithoutWindow(int argc, char **argv, StartOptions *options)
{
    QCoreApplication core(argc, argv);
    setNames();
    QString message;
    switch (StartOptions::parse(QCoreApplication::arguments(), options, &message)) {
    case StartOptions::Outcome::Run:
        return std::nullopt;
    case StartOptions::Outcome::Help:
    case StartOptions::Outcome::Version:
        say(stdout, message);
        return 0;
    case StartOptions::Outcome::Error:
        say(stderr, QStringLiteral("qtx2setlink: %1\nTry \"qtx2setlink --help\".").arg(message));
        return 2;
    }
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    StartOptions options;
    if (const std::optional<int> answered = answerWithoutWindow(argc, argv, &options))
        return *answered;

    PreciseWaits::enable();
    QApplication app(argc, argv);
    setNames();
    QGuiApplication::setDesktopFileName(QStringLiteral("example.orvaneworks.QTX2Setlink"));

    QtSerialPortIo port;
    DialogPrompt prompt;
    QtDesktopOpener opener;
    QTX2SetlinkForm window(&port, &prompt, &opener);
    prompt.setParentWidget(&window);
    if (!window.start())
        return 1;
    QString message;
    if (!window.connectionPanel()->select(options, &message)) {
        say(stderr, QStringLiteral("qtx2setlink: %1").arg(message));
        return 2;
    }
    window.show();
    // The window's own command, as if Connect were pressed once the window is up.
    if (options.connect)
        QTimer::singleShot(0, &window, &QTX2SetlinkForm::connectCommand);
    return app.exec();
}
