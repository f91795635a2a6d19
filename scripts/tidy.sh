#!/usr/bin/env bash
# Runs clang-tidy's checks (.clang-tidy) over the program's own sources, using the
# compile commands of the build in build/, and fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/compile_commands.json ] || { echo "build/ first: bash scripts/build.sh" >&2; exit 2; }
mapfile -t sources < <(git ls-files 'app/*.cpp' 'search/*.cpp' 'preview/*.cpp' 'export/*.cpp' 'pdf/*.cpp' 'platform/*.cpp')
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run-clang-tidy -quiet -p build -j "$(nproc)" "${sources[@]}" >"$log" 2>&1 || true
if grep -E '^/.*: (warning|error):' "$log" | sort -u; then
  echo "clang-tidy: findings above" >&2
  exit 1
fi
echo "clang-tidy: no findings in ${#sources[@]} files"
