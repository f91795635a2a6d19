#!/usr/bin/env bash
# Builds the program and its tests with the sanitizers, each kind in a build
# folder of its own, and runs the whole suite under them:
#   build-asan: the address and undefined-behaviour sanitizers;
#   build-tsan: the thread sanitizer.
# A report ends the process that made it with a failure, so a clean run is a
# passing one. Only Qt's own code is suppressed, each entry explained in
# scripts/sanitizers/. Not part of scripts/test.sh: a run takes a while.
#   bash scripts/sanitize.sh [asan|tsan] [ctest arguments...]
set -uo pipefail
cd "$(dirname "$0")/.."
here=$PWD
kinds=asan\ tsan
if [ $# -gt 0 ]; then
  kinds=$1
  shift
fi
status=0
for kind in $kinds; do
  case $kind in
    asan) flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" ;;
    tsan) flags="-fsanitize=thread -fno-omit-frame-pointer" ;;
    *) echo "unknown sanitizer: $kind" >&2; exit 2 ;;
  esac
  echo "== $kind"
  cmake -S . -B "build-$kind" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null || { status=1; continue; }
  cmake --build "build-$kind" >/dev/null || { echo "build-$kind: the build failed" >&2; status=1; continue; }
  # Leaks are not looked for: what Qt, fontconfig and the desktop libraries keep
  # for the life of the process is freed by nobody, by design. die_after_fork=0:
  # the suite's FUSE file system starts its threads after forking its mount helper.
  ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:halt_on_error=1:suppressions=$here/scripts/sanitizers/asan.supp" \
  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$here/scripts/sanitizers/ubsan.supp" \
  TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$here/scripts/sanitizers/tsan.supp" \
  QT_QPA_PLATFORM=offscreen ctest --test-dir "build-$kind" --output-on-failure --timeout 900 "$@" || status=1
done
exit $status
