#include "shell/DesktopOpener.h"

#include <QDesktopServices>

DesktopOpener::~DesktopOpener() = default;

void QtDesktopOpener::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}
