#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from the repository root.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target kestovaria -j "$(nproc)" >/dev/null
exec build/kestovaria
