#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Orvane Works
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up everything and runs every test: every file's licence (reuse lint), the Debian
# package built from an optimised, hardened tree and checked, each fuzz target for
# FUZZ_SECONDS (30 unless set) under the sanitizers, then the whole suite under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$SECONDS
# Each step's time, so that a slow one shows.
step() {
  echo "== $1 ($((SECONDS - start)) s so far)"
}
export SETLINK_EXTRA_PACKAGES="clang libclang-rt-14-dev dpkg-dev ${SETLINK_EXTRA_PACKAGES:-}"

step "licences"
"$root/scripts/install-packages.sh" reuse
# Every file says its copyright and licence, in the form REUSE 3.0 asks for.
(cd "$root" && reuse lint)

step "build"
# The package's tree: optimised, with Debian's build flags, without tests.
"$root/scripts/setup.sh" "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DSETLINK_TESTS=OFF -DSETLINK_DPKG_BUILDFLAGS=ON
step "package"
"$root/scripts/check-package.sh" "$root/build-release"
step "fuzzing"
FUZZ_SECONDS=${FUZZ_SECONDS:-30} "$root/scripts/fuzz.sh"

step "sanitizer build"
# Line tables are enough for the sanitizers' reports.
"$root/scripts/setup.sh" "$root/build-asan" -DSETLINK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" -DSETLINK_BENCH=OFF
step "sanitizer suite"
(cd "$root/build-asan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
step "all passed"
