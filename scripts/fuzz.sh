#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang and runs each for a
# bounded time. Fails on any crash, leak, timeout or sanitizer report; the
# input that caused it is kept under build/fuzz/artifacts/.
#   bash scripts/fuzz.sh [seconds per target, default 20] [target ...]
# The committed seed corpus (tests/fuzz/corpus/<target>) is only read: what
# a run finds goes to a temporary corpus that is removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-20}
shift || true
targets=("$@")

build=build/fuzz
# A tree configured by an older layout (tests/fuzz as a project of its own)
# is made afresh.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$root" "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
cmake --preset fuzz >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
build=$build/tests/fuzz
# Every target the fuzz tree builds (tests/fuzz/CMakeLists.txt lists them).
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/fuzz_*; do targets+=("${exe##*/fuzz_}"); done
fi

work=$(mktemp -d /tmp/tessaly-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

corpus_state() { (cd tests/fuzz/corpus && find . -type f -print0 | sort -z | xargs -0 md5sum); }
before=$(corpus_state)
failed=()
for target in "${targets[@]}"; do
  seeds="tests/fuzz/corpus/$target"
  [ -d "$seeds" ] || { echo "fuzz: no seed corpus $seeds"; exit 1; }
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  log="$work/$target/log"
  # New inputs go to the first corpus folder, the temporary one.
  if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
       -artifact_prefix="$work/$target/artifacts/" "$work/$target/corpus" "$seeds" >"$log" 2>&1; then
    echo "fuzz $target: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$log" | tail -1)"
  else
    echo "fuzz $target: FAILED"
    tail -40 "$log"
    mkdir -p "$build/artifacts/$target"
    cp "$work/$target/artifacts/"* "$build/artifacts/$target/" 2>/dev/null || true
    echo "fuzz $target: input kept in $build/artifacts/$target/"
    failed+=("$target")
  fi
done

# The seed corpus is only read.
if [ "$(corpus_state)" != "$before" ]; then echo "fuzz: a run changed tests/fuzz/corpus"; exit 1; fi

if [ ${#failed[@]} -gt 0 ]; then echo "fuzz: failed: ${failed[*]}"; exit 1; fi
echo "fuzz: all ${#targets[@]} targets ran ${seconds} s each without a report"
