// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monitor/MagPosnDisp.h"

#include "model/NumberText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

MagPosnDisp::MagPosnDisp(QWidget *parent)
    : QWidget(parent)
    , m_maglabel(new QLabel(this))
    , m_posnlabel(new QLabel(QStringLiteral("40.3443"), this))
{
    setObjectName(QStringLiteral("magposndisp"));
    m_maglabel->setObjectName(QStringLiteral("maglabel"));
    m_posnlabel->setObjectName(QStringLiteral("posnlabel"));

    // Wide enough for "Magnet 15:" and a position such as "-999.99999", so the columns
    // do not jump as values come and go.
    const QFontMetrics fm(font());
    m_maglabel->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("Magnet 15:")));
    m_posnlabel->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("-999.99999")));
    m_posnlabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_maglabel);
    layout->addWidget(m_posnlabel, 1);
    applyColour();
}

void MagPosnDisp::set_magnet(int magnet)
{
    m_maglabel->setText(QStringLiteral("Magnet %1:").arg(magnet));
}

void MagPosnDisp::set_text(const QString &t, bool errflag)
{
    m_posnlabel->setText(t);
    m_error = errflag;
    applyColour();
}

void MagPosnDisp::set_error(const QString &t)
{
    set_text(t, true);
}

void MagPosnDisp::set_position(float position)
{
    set_text(NumberText::displayPosition(position), false);
}

QString MagPosnDisp::text() const
{
    return m_posnlabel->text();
}

bool MagPosnDisp::isError() const
{
    return m_error;
}

void MagPosnDisp::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A theme change brings a new button-text colour; the error red stays.
    if (event->type() == QEvent::PaletteChange)
        applyColour();
}

void MagPosnDisp::applyColour()
{
    QPalette pal = m_posnlabel->palette();
    const QColor colour = m_error ? QColor(255, 0, 0) : palette().color(QPalette::ButtonText);
    pal.setColor(QPalette::WindowText, colour);
    m_posnlabel->setPalette(pal);
}
