// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QtGlobal>

#include <functional>

// The transducer probe: the magnets on it (0 to 15, one unless told otherwise), each
// swinging slowly about its own rest spot so that a demo shows live, distinct positions.
// Positions in inches, driven by an injectable millisecond clock so that tests see fixed
// values. Which magnets the device reads is its "XM" setting; which exist is this.
class MagnetProbe
{
public:
    using Clock = std::function<qint64()>;
    static constexpr int MaxMagnets = 15;

    MagnetProbe();

    void setClock(Clock clock);
    qint64 now() const;

    // Magnets 1 to count are on the probe; count is kept within 0 to 15.
    void setMagnets(int count);
    int magnets() const;

    // Raw position of magnet k (1 to 15) along the probe, in inches.
    double position(int magnet) const;

    // Holds magnet k at a fixed spot (tests, demos of a given reading).
    void pin(int magnet, double inches);
    void releaseAll();

private:
    Clock m_clock;
    int m_magnets = 1;
    QHash<int, double> m_pinned;
};
