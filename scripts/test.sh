#!/usr/bin/env bash
# Sets up everything and runs every test: the suite on the normal build, the Debian
# package's check, each fuzz target for FUZZ_SECONDS (60 unless set) under the
# sanitizers, then the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$SECONDS
# Each step's time, so that a slow one shows.
step() {
  echo "== $1 ($((SECONDS - start)) s so far)"
}
export SETLINK_EXTRA_PACKAGES="clang libclang-rt-14-dev ${SETLINK_EXTRA_PACKAGES:-}"

step "build"
# The package is built from this tree: optimised, without debug information.
"$root/scripts/setup.sh" "$root/build" -DCMAKE_BUILD_TYPE=Release
step "suite"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
step "package"
"$root/scripts/check-package.sh" "$root/build"
step "fuzzing"

"$root/scripts/fuzz.sh"

step "sanitizer build"
# Line tables are enough for the sanitizers' reports.
"$root/scripts/setup.sh" "$root/build-asan" -DSETLINK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" -DSETLINK_BENCH=OFF
step "sanitizer suite"
(cd "$root/build-asan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
step "all passed"
