// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/IconPainter.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Everything is drawn on a 16-unit grid and scaled to the pixmap.
void drawExit(QPainter &p)
{
    p.setPen(QPen(QColor(90, 60, 30), 1.2));
    p.setBrush(QColor(200, 160, 110));
    p.drawRect(QRectF(2.5, 1.5, 8, 13)); // door
    p.setBrush(QColor(60, 40, 20));
    p.drawEllipse(QPointF(8.5, 8), 0.8, 0.8);
    p.setPen(QPen(QColor(200, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 8), QPointF(15, 8));
    p.drawPolyline(QPolygonF({QPointF(12.5, 5.5), QPointF(15, 8), QPointF(12.5, 10.5)}));
}

void drawOpen(QPainter &p)
{
    p.setPen(QPen(QColor(140, 100, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(13.5, 5),
                             QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
    p.setBrush(QColor(255, 225, 130));
    p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
}

void drawSave(QPainter &p)
{
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(60, 100, 180));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(4, 1.5, 8, 5));
    p.setBrush(QColor(30, 30, 30));
    p.drawRect(QRectF(9, 2.5, 1.5, 3));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(3.5, 9, 9, 5.5));
}

void drawDevice(QPainter &p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(QRectF(1, 9.5, 14, 5.5), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 230, 90));
    p.drawRect(QRectF(2.5, 11, 7, 2.5));
}

void drawArrow(QPainter &p, bool up)
{
    p.setPen(QPen(QColor(20, 90, 20), 1));
    p.setBrush(QColor(60, 170, 60));
    const qreal tip = up ? 1 : 9;
    const qreal base = up ? 5 : 5;
    QPolygonF arrow = up
        ? QPolygonF({QPointF(8, tip), QPointF(12.5, base), QPointF(10, base), QPointF(10, 8.5),
                     QPointF(6, 8.5), QPointF(6, base), QPointF(3.5, base)})
        : QPolygonF({QPointF(8, tip), QPointF(12.5, base), QPointF(10, base), QPointF(10, 0.5),
                     QPointF(6, 0.5), QPointF(6, base), QPointF(3.5, base)});
    p.drawPolygon(arrow);
}

void drawConnect(QPainter &p, bool on)
{
    const QColor metal = on ? QColor(40, 150, 40) : QColor(110, 110, 110);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(metal);
    // plug
    p.drawRect(QRectF(1.5, 5.5, 5, 5));
    p.drawLine(QPointF(6.5, 6.5), QPointF(8.5, 6.5));
    p.drawLine(QPointF(6.5, 9.5), QPointF(8.5, 9.5));
    // socket
    p.drawRect(QRectF(9.5, 4.5, 5, 7));
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.drawLine(QPointF(0, 8), QPointF(1.5, 8));
    p.drawLine(QPointF(14.5, 8), QPointF(16, 8));
}

} // namespace

QPixmap IconPainter::draw(Kind kind, int size, bool on)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (kind) {
    case Kind::Exit:
        drawExit(p);
        break;
    case Kind::Open:
        drawOpen(p);
        break;
    case Kind::Save:
        drawSave(p);
        break;
    case Kind::Upload:
        drawDevice(p);
        drawArrow(p, true);
        break;
    case Kind::Download:
        drawDevice(p);
        drawArrow(p, false);
        break;
    case Kind::Connect:
        drawConnect(p, on);
        break;
    }
    return pixmap;
}

QIcon IconPainter::icon(Kind kind)
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        icon.addPixmap(draw(kind, size, false), QIcon::Normal, QIcon::Off);
        if (kind == Kind::Connect)
            icon.addPixmap(draw(kind, size, true), QIcon::Normal, QIcon::On);
    }
    return icon;
}

void IconPainter::drawMark(QPainter &p, const QRectF &square)
{
    const qreal w = square.width();
    const QColor blue(0x1d, 0x4e, 0x89);
    const QColor amber(0xf0, 0xa0, 0x20);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(square.topLeft(), square.bottomRight());
    fill.setColorAt(0, blue.lighter(130));
    fill.setColorAt(1, blue);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(square, w * 0.18, w * 0.18);

    const qreal cy = square.center().y();
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(square.left() + w * 0.12, cy - w * 0.05, w * 0.76, w * 0.1), w * 0.05, w * 0.05);
    p.setPen(QPen(amber, w * 0.09));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(square.left() + w * 0.6, cy), w * 0.16, w * 0.24);
    p.restore();
}

QImage IconPainter::markImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const qreal margin = size / 16.0;
    drawMark(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    return image;
}

QIcon IconPainter::markIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(markImage(size)));
    return icon;
}
