// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

// The maker's logo, painted rather than loaded, as a label that reports clicks.
class LogoLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LogoLabel(QWidget *parent = nullptr);

    static QPixmap logo(const QSize &size, qreal devicePixelRatio = 1.0);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
