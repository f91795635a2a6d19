#!/usr/bin/env bash
# Runs every benchmark against the build in build/ and prints its figures.
set -uo pipefail
cd "$(dirname "$0")/.."
for b in build/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || echo "(benchmark $(basename "$b") failed)"
done
