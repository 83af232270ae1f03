#include "shell/LogoLabel.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

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
    const QColor amber(0xf0, 0xa0, 0x20);

    // The mark: a probe rod with a ring magnet on it, inside a rounded square.
    const QRectF mark(1, 1, h - 2, h - 2);
    QLinearGradient fill(mark.topLeft(), mark.bottomRight());
    fill.setColorAt(0, blue.lighter(130));
    fill.setColorAt(1, blue);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(mark, h * 0.18, h * 0.18);

    const qreal cy = mark.center().y();
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(mark.left() + h * 0.12, cy - h * 0.05, mark.width() - h * 0.24, h * 0.1),
                      h * 0.05, h * 0.05);
    p.setPen(QPen(amber, h * 0.09));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(mark.left() + mark.width() * 0.6, cy), h * 0.16, h * 0.24);

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
