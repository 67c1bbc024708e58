#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it; flags go to the game
# (tools/play.sh --scale 2).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target kestrava
exec ./build/kestrava "$@"
