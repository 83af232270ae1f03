// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/CommandRunner.h"
#include "BuildInfo.h"
#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "link/PreciseWaits.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    PreciseWaits::enable();
    QCoreApplication app(argc, argv);
    // The window's names: COMn are looked up in its ports folder.
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Works"));
    QCoreApplication::setApplicationName(QStringLiteral("QTX2Setlink"));

    CtlRequest request;
    QString text;
    Console console;
    switch (CtlRequest::parse(app.arguments(), &request, &text)) {
    case CtlRequest::Outcome::Help:
        console.outBytes(text.toLocal8Bit());
        return int(console.checked(ExitCode::Ok));
    case CtlRequest::Outcome::Version:
        console.out(QStringLiteral("qtx2ctl " SETLINK_VERSION "\n" SETLINK_LICENCE_NOTICE));
        return int(console.checked(ExitCode::Ok));
    case CtlRequest::Outcome::Error:
        console.error(text);
        return int(ExitCode::Usage);
    case CtlRequest::Outcome::Run:
        break;
    }
    return int(CommandRunner::run(request));
}
