// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

class QPainter;
class QRectF;

// The toolbar's icons and the program's mark, drawn at run time so the program needs no
// image files.
class IconPainter
{
public:
    enum class Kind { Exit, Open, Save, Upload, Download, Connect };

    static QIcon icon(Kind kind);

    // The mark: a probe rod with a ring magnet on it in a rounded blue square. The logo,
    // the window icon and the installed desktop icons all show it; the scalable desktop
    // icon repeats its proportions by hand.
    static void drawMark(QPainter &p, const QRectF &square);
    // The mark filling a square image of size pixels with a margin of 1/16 of it.
    static QImage markImage(int size);
    static QIcon markIcon();

private:
    static QPixmap draw(Kind kind, int size, bool on);
};
