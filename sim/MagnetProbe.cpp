// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "MagnetProbe.h"

#include <QElapsedTimer>

#include <cmath>
#include <memory>

MagnetProbe::MagnetProbe()
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    m_clock = [started] { return started->elapsed(); };
}

void MagnetProbe::setClock(Clock clock)
{
    if (clock)
        m_clock = std::move(clock);
}

qint64 MagnetProbe::now() const
{
    return m_clock();
}

void MagnetProbe::setMagnets(int count)
{
    m_magnets = qBound(0, count, MaxMagnets);
}

int MagnetProbe::magnets() const
{
    return m_magnets;
}

double MagnetProbe::position(int magnet) const
{
    const auto pinned = m_pinned.constFind(magnet);
    if (pinned != m_pinned.constEnd())
        return *pinned;
    // Rest spots 3 inches apart and swings under 1.5 inches keep the magnets in order.
    const double k = qBound(1, magnet, MaxMagnets);
    const double rest = 4.0 + 3.0 * (k - 1.0);
    const double swing = 0.5 + 0.05 * k;
    const double periodMs = 8000.0 + 1700.0 * k;
    const double phase = 0.7 * k;
    const double t = double(now());
    return rest + swing * std::sin(2.0 * M_PI * t / periodMs + phase);
}

void MagnetProbe::pin(int magnet, double inches)
{
    m_pinned.insert(magnet, inches);
}

void MagnetProbe::releaseAll()
{
    m_pinned.clear();
}
