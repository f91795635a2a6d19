#!/usr/bin/env bash
# Installs what is missing, builds and starts Quorvel File Search. Only the program
# and its picture decoder are installed for and built; scripts/test.sh does the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --program
bash scripts/build.sh quorvelfilesearch quorvel-decoder
exec ./build/quorvelfilesearch "$@"
