// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Spin arrows bound to a text field: each click steps the whole number shown in the
// field by one, kept within the arrows' own minimum and maximum. The field stays a free
// text field; the arrows only read and write its text. Up and Down keys in the field
// step too.
class SpinArrows : public QWidget
{
    Q_OBJECT
public:
    explicit SpinArrows(QLineEdit *buddy, QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    void step(int delta);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_buddy;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = 0;
    int m_max = 0;
};
