// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtMath>

// The window is laid out in twips, 15 to a pixel at 96 dpi. Scale enlarges every
// dimension by the same factor so that the layout stays legible with the desktop's
// fonts; widths compared as window states (log pane shown or hidden) go through the
// same conversion, so the comparisons stay exact.
namespace Twips {

constexpr int PerPixel = 15;
constexpr double Scale = 1.0;

constexpr int NarrowWidth = 8985;  // log pane hidden
constexpr int WideWidth = 12240;   // log pane shown
constexpr int Height = 8175;
constexpr int LogPaneLeft = 9000;  // where the log strip starts

inline int toPixels(int twips)
{
    return qRound(twips * Scale / PerPixel);
}

} // namespace Twips
