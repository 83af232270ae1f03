// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monitor/PositionMonitor.h"

#include "model/NumberText.h"
#include "model/PositionPoll.h"
#include "monitor/MagPosnDisp.h"

#include <QAction>
#include <QLabel>
#include <cmath>
#include <limits>

namespace {
const QString MissingText = QStringLiteral("[----]");
const QString TransducerErrorText = QStringLiteral("ERR 01");
using Status = PositionReading::Status;
} // namespace

PositionMonitor::PositionMonitor(SerialForm *link, QLabel *dispPosnLabel, const QList<MagPosnDisp *> &displays,
                                 QAction *magPosnMenu, QObject *parent)
    : QObject(parent)
    , m_poll(new PositionPoll(link, this))
    , m_dispPosn(dispPosnLabel)
{
    for (MagPosnDisp *disp : displays)
        m_displays.append(disp);
    if (magPosnMenu) {
        m_poll->setMagnetsWanted(magPosnMenu->isChecked());
        connect(magPosnMenu, &QAction::toggled, m_poll, &PositionPoll::setMagnetsWanted);
    }
    connect(m_poll, &PositionPoll::read, this, &PositionMonitor::showReading);
}

void PositionMonitor::startDisplays()
{
    for (int i = 0; i < m_displays.size(); ++i) {
        if (!m_displays.at(i))
            continue;
        m_displays.at(i)->set_magnet(i + 1);
        m_displays.at(i)->set_text(QStringLiteral(" "), false);
    }
}

PositionPoll *PositionMonitor::poll() const
{
    return m_poll;
}

void PositionMonitor::showReading(const PositionReading &reading)
{
    if (reading.position == PositionReading::Displayed)
        showDisplayedPosition(reading);
    else
        showMagnet(reading);
}

void PositionMonitor::menuClicked()
{
    if (m_poll->magnetsWanted())
        return;
    for (const auto &disp : std::as_const(m_displays)) {
        if (disp)
            disp->set_text(QString(), false);
    }
}

void PositionMonitor::showDisplayedPosition(const PositionReading &reading)
{
    if (!m_dispPosn)
        return;
    // A disconnected window shows no displayed position, even one that came in just
    // before the line dropped.
    if (reading.status == Status::NotConnected)
        m_dispPosn->clear();
    else if (reading.status == Status::NoMagnet)
        m_dispPosn->setText(MissingText);
    else if (reading.status == Status::NoTransducer)
        m_dispPosn->setText(TransducerErrorText);
    else
        m_dispPosn->setText(reading.reply);
}

void PositionMonitor::showMagnet(const PositionReading &reading)
{
    const int index = reading.position - 1;
    if (index < 0 || index >= m_displays.size())
        return;
    MagPosnDisp *disp = m_displays.at(index);

    if (!m_poll->magnetsWanted()) {
        if (disp)
            disp->set_text(QString(), false);
        return;
    }
    switch (reading.status) {
    case Status::NotConnected:
        // The port closed during the wait: no reading came in, so the display keeps its
        // text rather than showing a made-up 0.00000.
        return;
    case Status::NoMagnet:
        setErrorFrom(index, MissingText);
        return;
    case Status::NoTransducer:
        setErrorFrom(index, TransducerErrorText);
        return;
    case Status::Value:
    case Status::TimedOut:
    case Status::Unreadable:
        break;
    }
    if (!disp)
        return;
    // A time-out or a reply without a number shows the leading-number value, 0.00000.
    const double value = NumberText::leadingValue(reading.reply);
    // A number beyond single precision is not a position; show what came in, in red.
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        disp->set_error(reading.reply);
    else
        disp->set_position(static_cast<float>(value));
}

void PositionMonitor::setErrorFrom(int index, const QString &text)
{
    for (int i = index; i < m_displays.size(); ++i) {
        if (m_displays.at(i))
            m_displays.at(i)->set_error(text);
    }
}
