// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QPixmap>
#include <QProgressBar>

// A progress bar that draws each look once and shows it again from a picture. The style
// strokes and fills several rounded, antialiased shapes for every paint, which made the
// bar the costliest thing painted during a walk; a walk shows the same few values again
// and again.
class CachedProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    using QProgressBar::QProgressBar;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    static constexpr int MaxLooks = 256;

    // What every look drawn so far shares; a change of any of it forgets them all.
    struct Frame
    {
        QSize size;
        qreal ratio = 0;
        int minimum = 0;
        int maximum = 0;
        bool inverted = false;
        Qt::Orientation orientation = Qt::Horizontal;
        bool operator==(const Frame &other) const;
    };

    QHash<quint64, QPixmap> m_looks; // by value and style state
    Frame m_frame;
};
