#!/usr/bin/env bash
# Installs what is missing, builds, starts the X servers the display tests use,
# and runs every test: the ThreadSanitizer build, the picture-decoder fuzz run,
# and last the main CTest run, whose summary ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"

CC=clang CXX=clang++ cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SANITIZE=thread >/dev/null
cmake --build build-tsan -j "$jobs"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"

source scripts/x_servers.sh
start_x_servers
trap stop_x_servers EXIT

echo "== ThreadSanitizer: display, presentation thread and frame loop"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir build-tsan -L threads --output-on-failure

echo "== Fuzzing the picture decoder"
bash scripts/fuzz.sh build-fuzz

echo "== Tests"
ctest --test-dir build --output-on-failure -j "$jobs"
