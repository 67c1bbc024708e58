#!/usr/bin/env bash
# Soak: an hour of play at 60 Hz (216,000 passes) run unpaced by the scripted runner, to see
# that memory does not creep. The keys play rounds of 16,000 passes: Space starts a flight,
# both wings climb for 1,500 passes, then the bird glides and misses the road until its life
# runs out (about pass 12,000 of the round), and the title screen waits for the next round.
# Prints the peak (VmHWM) and resident (VmRSS) memory after 10% and after 100% of the passes,
# and fails when the peak at the end is more than 5% above the peak at 10%.
#
#   tools/soak.sh [PASSES] [BUILD_DIR]      (defaults: 216000, build)
#
# The runner is built only when BUILD_DIR has none. The climbs keep the altitude near 1 (the
# bird never gets near the top, where the game's own rule piles wavelets up on the title
# screen after a flight that ended there). Without screenshots the runner draws with the null
# plane driver and needs no display, so the hour runs in minutes.
set -euo pipefail
cd "$(dirname "$0")/.."

passes=${1:-216000}
build=${2:-build}
if ! [[ $passes =~ ^[1-9][0-9]*$ ]]; then
  echo "soak: PASSES must be a whole number of passes, not '$passes'" >&2
  echo "usage: tools/soak.sh [PASSES] [BUILD_DIR]" >&2
  exit 2
fi
round=16000
runner=$build/kestrava-script
if [ ! -x "$runner" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2 --target kestrava-script
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-soak.XXXXXX")
trap 'rm -rf "$dir"' EXIT
for ((base = 0; base < passes; base += round)); do
  echo "$((base + 5)) down 32"
  echo "$((base + 6)) up 32"
  for ((f = base + 20; f < base + 1500; f += 40)); do
    echo "$f down 90"; echo "$f down 39"; echo "$((f + 6)) up 90"; echo "$((f + 6)) up 39"
  done
done >"$dir/soak.keys"

tenth=$((passes / 10))
[ "$tenth" -ge 1 ] || tenth=1
start=$SECONDS
SDL_AUDIODRIVER=dummy "$runner" --frames "$passes" --keys "$dir/soak.keys" \
  --memory-at "$tenth" --memory-at "$passes" | tee "$dir/memory.txt"
echo "$passes passes in $((SECONDS - start)) s"

# "memory at pass N: peak P KiB, resident R KiB"
peak_at() { awk -v pass="$1" '$4 == pass":" { print $6 }' "$dir/memory.txt"; }
first=$(peak_at "$tenth")
last=$(peak_at "$passes")
[ -n "$first" ] && [ -n "$last" ] || { echo "soak: the runner printed no memory figures" >&2; exit 1; }
if [ $((last * 100)) -le $((first * 105)) ]; then
  echo "soak: ok, the peak at the end ($last KiB) is within 5% of the peak at 10% ($first KiB)"
else
  echo "soak: FAIL, the peak at the end ($last KiB) is more than 5% above the peak at 10% ($first KiB)"
  exit 1
fi
