#!/usr/bin/env bash
# Sets up everything and runs every test: the suite on the normal build, the Debian
# package's check, each fuzz target for FUZZ_SECONDS (60 unless set) under the
# sanitizers, then the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export SETLINK_EXTRA_PACKAGES="clang libclang-rt-14-dev ${SETLINK_EXTRA_PACKAGES:-}"

"$root/scripts/setup.sh" "$root/build"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
"$root/scripts/check-package.sh" "$root/build"

"$root/scripts/fuzz.sh"

"$root/scripts/setup.sh" "$root/build-asan" -DSETLINK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-asan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
