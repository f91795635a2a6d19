#!/usr/bin/env bash
# Runs every benchmark against the build in build/ and prints its figures. They
# draw on a private X server (Xvfb, the xcb platform), as people see the window;
# the search benchmark runs once more offscreen, as a second line. bench_search_screen
# starts a desktop session of its own (Xvfb and Openbox) and drives the real program.
# The preview benchmark makes the photos the office benchmark uses, so it runs first.
set -uo pipefail
cd "$(dirname "$0")/.."
# One private folder for the trees and photos, shared by the benchmarks, removed at the end.
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$work/display" 2>/dev/null &
  server=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$work/display")"
  export QT_QPA_PLATFORM=xcb
  echo "X server: Xvfb on $DISPLAY, platform xcb"
else
  echo "(Xvfb is not installed: the figures are offscreen only)"
  export QT_QPA_PLATFORM=offscreen
fi

run() {
  local name=$1
  local b="build/bench/$name"
  [ -x "$b" ] || { echo "(missing $b: build first)"; return; }
  shift
  "$b" "$work" "$@" 2> >(grep -v -E 'XDG_RUNTIME_DIR|propagateSizeHints' >&2) || echo "(benchmark $name failed)"
}

for name in ${BENCHES:-bench_search bench_search_screen bench_statx bench_contents bench_preview bench_pdf bench_office bench_workbook_memory bench_responsiveness bench_animation bench_result_list}; do
  echo "== $name"
  run "$name"
done
echo "== bench_search, offscreen (second line)"
QT_QPA_PLATFORM=offscreen run bench_search
echo "== bench_search_screen --criteria (size, date and contents against find, grep and ripgrep)"
run bench_search_screen --criteria
