#!/usr/bin/env bash
# Runs every benchmark against the build in build/ and prints its figures.
# The preview benchmark makes the photos the office benchmark uses, so it runs first.
set -uo pipefail
cd "$(dirname "$0")/.."
# One private folder for the trees and photos, shared by the benchmarks, removed at the end.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in bench_search bench_pdf bench_preview bench_office; do
  b="build/bench/$name"
  [ -x "$b" ] || { echo "(missing $b: build first)"; continue; }
  echo "== $name"
  "$b" "$work" 2> >(grep -v -E 'XDG_RUNTIME_DIR|propagateSizeHints' >&2) || echo "(benchmark $name failed)"
done
