#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The layers,
# from the bottom: platform, pdf, search, preview, export, app.
set -uo pipefail
root=${1:-$(dirname "$0")/..}
layers=(platform pdf search preview export app)
status=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  for ((j = i + 1; j < ${#layers[@]}; j++)); do
    found=$(grep -n "#include \"${layers[j]}/" "$root/${layers[i]}"/*.cpp "$root/${layers[i]}"/*.h 2>/dev/null)
    if [ -n "$found" ]; then
      echo "${layers[i]} includes ${layers[j]}, a layer above it:"
      echo "$found" | sed "s|^$root/|    |"
      status=1
    fi
  done
done
exit $status
