#!/usr/bin/env bash
# Fuzzes each decoder route of the picture decoder helper for a while (default 60
# seconds each, going on past crashes), seeded from tests/data. An input that crashes a decoder or trips
# a sanitizer is kept in tests/fuzz/regressions/<route>/, which the normal test
# suite replays through the helper. Needs clang and its libFuzzer runtime
# (Debian: clang, libclang-rt-14-dev).
#   bash scripts/fuzz.sh [SECONDS] [ROUTE...]   (routes: picture png emf wmf; default all)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
routes=${*:-picture png emf wmf}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzz_picture fuzz_png fuzz_emf fuzz_wmf
declare -A seeds=([picture]="gradient.jpg gradient.bmp anim.gif multi.ico" [png]="alpha.png" [emf]="shapes.emf" [wmf]="shapes.wmf")
status=0
for route in $routes; do
  corpus=build-fuzz/corpus/$route
  mkdir -p "$corpus" "tests/fuzz/regressions/$route"
  for seed in ${seeds[$route]}; do cp -n "tests/data/$seed" "$corpus/"; done
  artifacts=$(mktemp -d)
  echo "== $route: $seconds s"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 \
    "build-fuzz/tests/fuzz/fuzz_$route" -max_total_time="$seconds" -rss_limit_mb=4096 -max_len=1048576 \
    -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
    -artifact_prefix="$artifacts/" "$corpus" 2>&1 | grep -E "^(#[0-9]+: cov|==[0-9]+==ERROR|SUMMARY|INFO: fuzzed for|INFO: exiting)" | tail -n 12 || true
  for found in "$artifacts"/*; do
    [ -e "$found" ] || continue
    cp "$found" "tests/fuzz/regressions/$route/$(sha1sum "$found" | cut -c1-16)"
    echo "kept: tests/fuzz/regressions/$route/$(sha1sum "$found" | cut -c1-16)"
    status=1
  done
  rm -rf "$artifacts"
done
exit $status
