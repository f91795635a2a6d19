#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug information): everything,
# or only the targets named (scripts/run.sh builds just the program and its helper).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build build --parallel "$(nproc)" "${targets[@]}"
