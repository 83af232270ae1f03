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
"$root/scripts/setup.sh" "$root/build"
step "suite"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
step "package"
"$root/scripts/check-package.sh" "$root/build"
step "fuzzing"

"$root/scripts/fuzz.sh"

step "sanitizer build"
"$root/scripts/setup.sh" "$root/build-asan" -DSETLINK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DSETLINK_BENCH=OFF
step "sanitizer suite"
(cd "$root/build-asan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
step "all passed"
