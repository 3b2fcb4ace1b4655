#!/usr/bin/env bash
# Fuzzes the picture decoder for about a minute from a freshly generated seed
# corpus. Usage: scripts/fuzz.sh BUILD_DIR (a KV_FUZZ=ON clang build). Any
# sanitizer report, crash, leak or hang fails the run; the input that caused it
# is kept in BUILD_DIR/bmp-fuzz/.
set -euo pipefail
build=${1:?usage: fuzz.sh BUILD_DIR}
cmake --build "$build" --target bmp_fuzz bmp_fuzz_seeds >/dev/null

work="$build/bmp-fuzz"
rm -rf "$work"
mkdir -p "$work/seeds" "$work/corpus"
"$build/platform/picture/bmp_fuzz_seeds" "$work/seeds"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# libFuzzer stops itself after max_total_time; the outer timeout bounds a hang.
timeout --kill-after=10 120 "$build/platform/picture/bmp_fuzz" \
  -max_total_time=60 -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" "$work/seeds"
