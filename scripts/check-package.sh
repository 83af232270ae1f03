#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Orvane Works
# SPDX-License-Identifier: GPL-3.0-or-later

# Packs the build tree (build/ or $1, built already: no rebuild) into the Debian package
# and checks it: lintian without errors or warnings, the desktop entry and the AppStream
# metadata valid, the versions agreeing, and, unpacked into a scratch root, the programs
# starting and finding their help files where the package puts them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
app_id=example.orvaneworks.QTX2Setlink

"$root/scripts/install-packages.sh" dpkg-dev file lintian desktop-file-utils appstream
deb=$("$root/scripts/package.sh" "$build" | tail -n1)
echo "Checking $deb"

work=$(mktemp -d)
sim=""
cleanup() {
  if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package check FAILED: $*" >&2; exit 1; }

lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian reports errors"

dpkg -x "$deb" "$work/root"
usr=$work/root/usr
docs=$usr/share/doc/qtx2setlink
desktop-file-validate "$usr/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 \
  || { cat "$work/appstream.log"; fail "AppStream metadata"; }

version=$(dpkg-deb -f "$deb" Version)
changelog=$(dpkg-parsechangelog -l "$root/packaging/debian/changelog" -S Version)
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$usr/share/metainfo/$app_id.metainfo.xml" | head -n1)
[ "$changelog" = "$version" ] || fail "debian/changelog's newest entry is $changelog, the package $version"
[ "$release" = "$version" ] || fail "the metainfo's newest release is $release, the package $version"

for size in 16 22 24 32 48 64 128 256 512; do
  file "$usr/share/icons/hicolor/${size}x$size/apps/$app_id.png" | grep -q "PNG image data, $size x $size," \
    || fail "icon ${size}x$size"
done
[ -s "$usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "scalable icon"
for page in qtx2setlink qtx2-sim; do
  [ -s "$usr/share/man/man1/$page.1.gz" ] || fail "manual page of $page"
done

# The programs, run from the scratch root with a home of their own.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work
mkdir -p "$HOME"
[ "$("$usr/bin/qtx2setlink" --version)" = "qtx2setlink $version" ] || fail "qtx2setlink --version"
if [ -x "$usr/bin/qtx2ctl" ]; then
  "$usr/bin/qtx2ctl" --version | grep -q "$version" || fail "qtx2ctl --version"
  [ -s "$usr/share/man/man1/qtx2ctl.1.gz" ] || fail "manual page of qtx2ctl"
fi
"$usr/bin/qtx2-sim" --help >/dev/null || fail "qtx2-sim --help"
help=$("$usr/bin/qtx2setlink" --help)
for file in "$docs/qtx2setlink.html" "$docs/QTX2.pdf"; do
  grep -qF "$file" <<<"$help" || fail "qtx2setlink does not look for $file"
  [ -s "$file" ] || fail "$file missing"
done
status=0
"$usr/bin/qtx2setlink" --baud 7 >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && [ ! -s "$work/out" ] && grep -q 'baud' "$work/err" || fail "a bad argument gives exit $status"

# The window against the packaged simulator: up for a moment, connected from the command line.
"$usr/bin/qtx2-sim" --port 1 --verbose --quit-after-seconds 30 >"$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 50); do [ -e "$XDG_CONFIG_HOME/Orvane Works/QTX2Setlink/ports/COM1" ] && break; sleep 0.1; done
status=0
timeout 4 "$usr/bin/qtx2setlink" --port 1 --connect >"$work/window.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/window.log"; fail "the window ended with $status instead of staying up"; }
grep -q 'RMV' "$work/sim.log" || { cat "$work/sim.log"; fail "the window did not connect to the simulator"; }

echo "Package check passed: $(basename "$deb")"
