// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the program's mark to <folder>/<size>.png for each size given, for the desktop
// icon theme.
#include "shell/IconPainter.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: make_icons FOLDER SIZE...\n");
        return 2;
    }
    for (const QString &text : args.mid(2)) {
        const int size = text.toInt();
        const QString file = args.at(1) + QStringLiteral("/%1.png").arg(size);
        if (size <= 0 || !IconPainter::markImage(size).save(file)) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
