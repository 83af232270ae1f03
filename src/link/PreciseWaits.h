// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The link's pauses between exchanges are sleeps, and its waits for a reply are timers.
// Linux wakes a sleeping process up to 50 µs late by default to group wake-ups; a walk
// of 90 exchanges with three waits each would lose that every time. Called once at the
// start of a program that talks to a device (or plays one).
namespace PreciseWaits {
void enable();
}
