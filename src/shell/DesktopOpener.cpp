// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/DesktopOpener.h"

#include <QDesktopServices>

DesktopOpener::~DesktopOpener() = default;

void QtDesktopOpener::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}
