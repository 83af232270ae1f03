#include "link/QtSerialPortIo.h"
#include "shell/DesktopOpener.h"
#include "shell/DialogPrompt.h"
#include "shell/QTX2SetlinkForm.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Works"));
    QCoreApplication::setApplicationName(QStringLiteral("QTX2Setlink"));

    QtSerialPortIo port;
    DialogPrompt prompt;
    QtDesktopOpener opener;
    QTX2SetlinkForm window(&port, &prompt, &opener);
    prompt.setParentWidget(&window);
    if (!window.start())
        return 1;
    window.show();
    return app.exec();
}
