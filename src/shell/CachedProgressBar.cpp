// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/CachedProgressBar.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionProgressBar>

bool CachedProgressBar::Frame::operator==(const Frame &other) const
{
    return size == other.size && ratio == other.ratio && minimum == other.minimum && maximum == other.maximum
        && inverted == other.inverted && orientation == other.orientation;
}

void CachedProgressBar::paintEvent(QPaintEvent *event)
{
    // A text may change with nothing else (its format); only text-free looks are kept.
    if (isTextVisible()) {
        QProgressBar::paintEvent(event);
        return;
    }
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    const qreal ratio = devicePixelRatioF();
    const Frame frame{size(), ratio, minimum(), maximum(), invertedAppearance(), orientation()};
    if (!(frame == m_frame) || m_looks.size() >= MaxLooks) {
        m_looks.clear();
        m_frame = frame;
    }
    const quint64 key = (quint64(quint32(option.progress)) << 32) | quint32(option.state);
    auto look = m_looks.constFind(key);
    if (look == m_looks.constEnd()) {
        QPixmap picture(size() * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
        painter.end();
        look = m_looks.insert(key, picture);
    }
    QPainter(this).drawPixmap(0, 0, *look);
}

void CachedProgressBar::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange:
        m_looks.clear();
        break;
    default:
        break;
    }
    QProgressBar::changeEvent(event);
}
