#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Orvane Works
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs each one for
# FUZZ_SECONDS (60 unless set) on a copy of its seed corpus, as many at once as there are
# cores. Exits non-zero when a target finds a crash, a leak, a hang or a sanitizer report;
# the input that did it is kept under build-fuzz/findings/ and its path printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=${FUZZ_SECONDS:-60}

"$root/scripts/install-packages.sh" clang libclang-rt-14-dev

. "$root/scripts/compiler-cache.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cache_launcher[@]}" \
  -DSETLINK_FUZZ=ON -DSETLINK_TESTS=OFF >/dev/null
cmake --build "$build" --target setlink_fuzz -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
findings=$build/findings
mkdir -p "$findings"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$work
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

# One target a core at a time; each reports when all have run.
run_target() {
  local target=$1 name=${1#fuzz_}
  local corpus=$work/corpus-$name log=$work/$name.log
  mkdir -p "$corpus"
  # The repository's seeds stay as they are: the run grows a copy.
  if [ -d "$root/fuzz/corpus/$name" ]; then
    cp -r "$root/fuzz/corpus/$name/." "$corpus/"
  fi
  rm -f "$findings/$name"-*
  local status=0
  (cd "$work" && "$build/fuzz/$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
      -artifact_prefix="$findings/$name-" "$corpus" >"$log" 2>&1) || status=$?
  echo "$status" >"$work/$name.status"
}

jobs=$(nproc)
for src in "$root"/fuzz/fuzz_*.cpp; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  run_target "$(basename "$src" .cpp)" &
done
wait

failed=()
for src in "$root"/fuzz/fuzz_*.cpp; do
  target=$(basename "$src" .cpp)
  name=${target#fuzz_}
  log=$work/$name.log
  status=$(cat "$work/$name.status" 2>/dev/null || echo 1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
  artifacts=$(find "$findings" -maxdepth 1 -name "$name-*" -type f | sort)
  report=$(grep -E 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|==INVARIANT==' "$log" | head -n1 || true)

  if [ "$status" -ne 0 ] || [ -n "$artifacts" ] || [ -n "$report" ]; then
    failed+=("$name")
    printf '%-14s FAILED after %s executions (%s exec/s), exit status %s\n' "$name" "${runs:-?}" "${rate:-?}" "$status"
    echo "---- $name: report ----"
    grep -E -A12 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|==INVARIANT==' "$log" | head -n40 || tail -n40 "$log"
    cp "$log" "$findings/$name.log"
    echo "---- full log: $findings/$name.log"
    for a in $artifacts; do
      echo "---- input kept: $a"
      echo "     replay: $build/fuzz/$target $a"
    done
  else
    printf '%-14s ok: %s executions in %s s (%s exec/s)\n' "$name" "${runs:-?}" "$seconds" "${rate:-?}"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]}"
  exit 1
fi
echo "Fuzzing found nothing."
