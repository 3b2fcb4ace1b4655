#!/usr/bin/env bash
# Fuzzes the picture decoder for about a minute from a freshly generated seed
# corpus. Usage: scripts/fuzz.sh BUILD_DIR (a KV_FUZZ=ON clang build). Any
# sanitizer report, crash, leak or hang fails the run; the log and the input
# that caused it are kept in BUILD_DIR/bmp-fuzz/.
set -euo pipefail
build=${1:?usage: fuzz.sh BUILD_DIR}
if ! output=$(cmake --build "$build" --target bmp_fuzz bmp_fuzz_seeds 2>&1); then
  echo "$output"
  exit 1
fi

work="$build/bmp-fuzz"
rm -rf "$work"
mkdir -p "$work/seeds" "$work/corpus"
"$build/platform/picture/bmp_fuzz_seeds" "$work/seeds"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# libFuzzer stops itself after max_total_time; the outer timeout bounds a hang.
if timeout --kill-after=10 120 "$build/platform/picture/bmp_fuzz" \
  -max_total_time=60 -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix="$work/" "$work/corpus" "$work/seeds" >"$work/fuzz.log" 2>&1; then
  grep '^Done' "$work/fuzz.log"
else
  tail -n 80 "$work/fuzz.log"
  echo "fuzzing found a fault; the log and the input are in $work/"
  exit 1
fi
