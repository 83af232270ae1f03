// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/LogoLabel.h"

#include "shell/IconPainter.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace {
const QSize LogoSize(176, 44);
}

LogoLabel::LogoLabel(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("LogoLabel"));
    setPixmap(logo(LogoSize, devicePixelRatioF()));
    setFixedSize(LogoSize);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Orvane Works on the web"));
}

QPixmap LogoLabel::logo(const QSize &size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = size.height();
    const QColor blue(0x1d, 0x4e, 0x89);
    IconPainter::drawMark(p, QRectF(1, 1, h - 2, h - 2));

    // The words.
    const QRectF words(h + h * 0.2, 0, size.width() - h * 1.2, h);
    const QString name = QStringLiteral("Orvane Works");
    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(true);
    // The largest size up to 42 % of the height at which the name fits beside the mark.
    for (int px = qMax(6, qRound(h * 0.42)); px >= 6; --px) {
        font.setPixelSize(px);
        if (QFontMetricsF(font).horizontalAdvance(name) <= words.width())
            break;
    }
    p.setFont(font);
    p.setPen(blue);
    p.drawText(words, Qt::AlignLeft | Qt::AlignVCenter, name);
    p.end();
    return pixmap;
}

void LogoLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
