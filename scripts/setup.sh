#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Orvane Works
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages the build needs (only those missing), then configures
# and builds into build/ (or the folder given as $1, with extra CMake options after it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true

"$root/scripts/install-packages.sh" build-essential ccache cmake pkg-config qt6-base-dev qt6-base-dev-tools \
  qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libgl-dev fonts-dejavu-core ${SETLINK_EXTRA_PACKAGES:-}

. "$root/scripts/compiler-cache.sh"
# A new tree is optimised with debug information; a tree configured before keeps its type.
type=()
[ -f "$build/CMakeCache.txt" ] || type=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
cmake -S "$root" -B "$build" "${type[@]}" "${cache_launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
