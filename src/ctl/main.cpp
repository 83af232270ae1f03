#include "ctl/CommandRunner.h"
#include "ctl/Console.h"
#include "ctl/CtlRequest.h"

#include <QCoreApplication>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

int main(int argc, char **argv)
{
#ifdef Q_OS_LINUX
    // The link's pauses between exchanges are sleeps; woken 50 µs late by default, they
    // would add that to every exchange of a walk.
    prctl(PR_SET_TIMERSLACK, 1UL);
#endif
    QCoreApplication app(argc, argv);
    // The window's names: COMn are looked up in its ports folder.
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Works"));
    QCoreApplication::setApplicationName(QStringLiteral("QTX2Setlink"));

    CtlRequest request;
    QString text;
    Console console(false);
    switch (CtlRequest::parse(app.arguments(), &request, &text)) {
    case CtlRequest::Outcome::Help:
        console.outBytes(text.toLocal8Bit());
        return int(ExitCode::Ok);
    case CtlRequest::Outcome::Version:
        console.out(QStringLiteral("qtx2ctl " SETLINK_VERSION));
        return int(ExitCode::Ok);
    case CtlRequest::Outcome::Error:
        console.error(text);
        return int(ExitCode::Usage);
    case CtlRequest::Outcome::Run:
        break;
    }
    return int(CommandRunner::run(request));
}
