#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Orvane Works
# SPDX-License-Identifier: GPL-3.0-or-later

# Packs the build tree (build/ or $1, built already: no rebuild) into the Debian package
# and checks it: lintian without errors, warnings or hardening tags, the desktop entry and
# the AppStream metadata valid, the versions and licences agreeing, the manual pages
# naming the options and commands the programs' help names, and, unpacked into a scratch
# root without /usr/share/doc, the programs starting and finding their help files.
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

# Everything lintian has to say is shown; errors, warnings and any hardening tag fail.
lintian -EvIL +pedantic --fail-on error,warning --tag-display-limit 0 "$deb" | tee "$work/lintian.log" \
  || fail "lintian reports errors or warnings"
if grep -q ' hardening-' "$work/lintian.log"; then fail "lintian reports a hardening tag"; fi

dpkg -x "$deb" "$work/root"
usr=$work/root/usr
docs=$usr/share/qtx2setlink
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

# The documents live in the program's data folder; the documentation folder links to
# them, and the doc-base entries name those links.
for name in qtx2setlink.html QTX2.pdf; do
  [ -s "$docs/$name" ] && [ ! -L "$docs/$name" ] || fail "$docs/$name missing"
  [ "$(readlink -f "$usr/share/doc/qtx2setlink/$name")" = "$(readlink -f "$docs/$name")" ] \
    || fail "/usr/share/doc/qtx2setlink/$name does not lead to $docs/$name"
done
for entry in "$usr"/share/doc-base/*; do
  for file in $(sed -n 's/^\(Index\|Files\): //p' "$entry"); do
    [ -s "$work/root$file" ] || fail "$(basename "$entry") names $file, which the package lacks"
  done
done

# The licence, the same everywhere: the copyright file, the AppStream metadata and each
# program's --version after its first line.
grep -q '^License: GPL-3+$' "$usr/share/doc/qtx2setlink/copyright" || fail "copyright file: no GPL-3+"
grep -q '/usr/share/common-licenses/GPL-3' "$usr/share/doc/qtx2setlink/copyright" || fail "copyright file: no GPL-3 text"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$usr/share/metainfo/$app_id.metainfo.xml" \
  || fail "AppStream project_license"

# The programs, run from the scratch root with a home of their own, as on a system that
# leaves /usr/share/doc out (dpkg's path-exclude).
rm -rf "$usr/share/doc"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work
mkdir -p "$HOME"
notice=""
for program in qtx2setlink qtx2ctl qtx2-sim; do
  [ -s "$usr/share/man/man1/$program.1.gz" ] || fail "manual page of $program"
  "$usr/bin/$program" --version >"$work/version" || fail "$program --version"
  [ "$(head -n1 "$work/version")" = "$program $version" ] || fail "$program --version: $(head -n1 "$work/version")"
  grep -q 'GPL-3.0-or-later' "$work/version" || fail "$program --version names no licence"
  [ -z "$notice" ] || [ "$(tail -n+2 "$work/version")" = "$notice" ] || fail "$program --version: another licence text"
  notice=$(tail -n+2 "$work/version")
done
help=$("$usr/bin/qtx2setlink" --help)
for file in "$docs/qtx2setlink.html" "$docs/QTX2.pdf"; do
  grep -qF "Help page: $file" <<<"$help" || grep -qF "QTX2 manual: $file" <<<"$help" \
    || fail "qtx2setlink does not look for $file"
done

# The manual pages against the programs: the options of each page's OPTIONS section are
# those its program's --help lists, and the commands of qtx2ctl(1), with their options,
# those qtx2ctl --help and each command's --help list.
man_page() { sed 's/\\-/-/g; s/\\f[BIRP]//g' "$root/packaging/man/$1.1"; }
# The first line after each .TP of a section: the item it describes.
man_items() { man_page "$1" | sed -n "/^\.SH $2\$/,/^\.SH /{/^\.TP\$/{n;p}}"; }
# The option names of a help text's lines from the heading $1 to the next empty line.
help_options() { sed -n "/^$1/,/^\$/{s/^  \(-[^ ].*\)/\1/p}" | sed 's/  .*//' | grep -o -- '--*[a-z][-a-z]*' | sort; }
same() { diff <(echo "$2") <(echo "$3") >"$work/diff" || { cat "$work/diff"; fail "$1"; }; }
for program in qtx2setlink qtx2-sim qtx2ctl; do
  same "$program(1) OPTIONS against $program --help (< page, > help)" \
    "$(man_items "$program" OPTIONS | grep -o -- '--*[a-z][-a-z]*' | sort)" \
    "$("$usr/bin/$program" --help | help_options Options:)"
done
commands=$("$usr/bin/qtx2ctl" --help | sed -n '/^Commands:/,/^$/{s/^  \([a-z][-a-z]*\).*/\1/p}')
same "qtx2ctl(1) COMMANDS against qtx2ctl --help (< page, > help)" \
  "$(man_items qtx2ctl COMMANDS | awk '{print $2}')" "$commands"
for command in $commands; do
  same "the options of $command in qtx2ctl(1) against qtx2ctl $command --help (< page, > help)" \
    "$(man_items qtx2ctl COMMANDS | awk -v c="$command" '$2 == c' | grep -o -- '--[a-z][-a-z]*' | sort)" \
    "$("$usr/bin/qtx2ctl" "$command" --help | help_options "Options of $command:")"
done
# Every Qt option qtx2setlink(1) names is let through to Qt.
man_page qtx2setlink | sed -n "/^\.SS Qt's options/,/^\.S[HS] /p" | grep '^\.B' | while read -r macro option _; do
  [ "$macro" = .BI ] && value=(x) || value=()
  [ "$("$usr/bin/qtx2setlink" "$option" "${value[@]}" --version 2>&1 | head -n1)" = "qtx2setlink $version" ] \
    || fail "qtx2setlink refuses $option, which its manual page names"
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
