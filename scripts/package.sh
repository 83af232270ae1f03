#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Orvane Works
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds into build/ (or the folder given as $1) as scripts/setup.sh does, with Debian's
# build flags (the tree keeps them), packs the Debian package
# build/qtx2setlink_<version>_<arch>.deb and prints its path. Install it with
#   sudo apt install ./build/qtx2setlink_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

# dpkg-shlibdeps (dpkg-dev) and file find the package's dependencies; dpkg-buildflags
# (dpkg-dev too) gives the build flags a Debian package is compiled with.
SETLINK_EXTRA_PACKAGES="dpkg-dev file ${SETLINK_EXTRA_PACKAGES:-}" "$root/scripts/setup.sh" "$build" \
  -DSETLINK_DPKG_BUILDFLAGS=ON
build=$(cd "$build" && pwd)

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$build/qtx2setlink_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
log=$build/cpack.log
(cd "$build" && cpack -G DEB >"$log" 2>&1) || { cat "$log" >&2; exit 1; }
[ -f "$deb" ] || { cat "$log" >&2; echo "cpack made no $deb" >&2; exit 1; }
echo "$deb"
