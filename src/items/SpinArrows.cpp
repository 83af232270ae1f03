// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "items/SpinArrows.h"

#include "model/NumberText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

SpinArrows::SpinArrows(QLineEdit *buddy, QWidget *parent)
    : QWidget(parent)
    , m_buddy(buddy)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    m_up->setObjectName(QStringLiteral("UpButton"));
    m_down->setObjectName(QStringLiteral("DownButton"));
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setAccessibleName(tr("Step up"));
    m_down->setAccessibleName(tr("Step down"));
    // Two half-height arrows beside the field, so an integer row is no taller than others.
    const int height = m_buddy->sizeHint().height();
    for (QToolButton *b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, height / 2);
        b->setIconSize(QSize(8, 8));
    }
    setFixedHeight(height);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    m_buddy->installEventFilter(this);
}

void SpinArrows::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = qMax(minimum, maximum);
}

void SpinArrows::step(int delta)
{
    const double shown = NumberText::leadingValue(m_buddy->text());
    bool ok = false;
    int value = NumberText::roundInt16(shown, &ok);
    if (!ok)
        value = shown > 0 ? m_max : m_min;
    const QString text = QString::number(qBound(m_min, value + delta, m_max));
    if (text != m_buddy->text())
        m_buddy->setText(text);
}

bool SpinArrows::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
