#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Orvane Works
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up and builds, starts the simulated QTX2 on a pseudo-terminal as COM1 and opens
# QTX2 Setlink ready to connect to it. Closing the window stops the simulator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
extra=""
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  extra="xvfb xauth"
fi
SETLINK_EXTRA_PACKAGES="$extra" "$root/scripts/setup.sh" "$build"

"$build/qtx2-sim" --port 1 --magnets 3 "$@" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
sleep 1

if [ -n "$extra" ]; then
  echo "No display found: running the window on a virtual X display."
  xvfb-run -a "$build/qtx2setlink"
else
  "$build/qtx2setlink"
fi
