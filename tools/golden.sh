#!/usr/bin/env bash
# Writes the scripted runner's traces, screenshots and audio for three scenes (the title
# screen, a flight and a game over) into OUTDIR, so two builds can be compared byte for byte:
#
#   tools/golden.sh build-before /tmp/before && tools/golden.sh build /tmp/after
#   tools/golden.sh --compare /tmp/before /tmp/after
#
# Runs under a private virtual display when no display is set.
set -euo pipefail

if [ "${1:-}" = "--compare" ]; then
  before=$2 after=$3 differ=0
  for f in "$before"/*; do
    name=$(basename "$f")
    if cmp -s "$f" "$after/$name"; then echo "same    $name"; else echo "DIFFERS $name"; differ=1; fi
  done
  exit $differ
fi

build=${1:?usage: tools/golden.sh BUILD_DIR OUT_DIR | --compare DIR1 DIR2}
out=${2:?usage: tools/golden.sh BUILD_DIR OUT_DIR | --compare DIR1 DIR2}
runner=$(cd "$build" && pwd)/kestrava-script
mkdir -p "$out"
out=$(cd "$out" && pwd)

# Space to start, then both wings tapped for 6 passes in every 40 (a climbing, scoring flight).
{
  echo "5 down 32"; echo "6 up 32"
  for ((f = 20; f < 3000; f += 40)); do
    echo "$f down 90"; echo "$f down 39"; echo "$((f + 6)) up 90"; echo "$((f + 6)) up 39"
  done
} > "$out/flight.keys"
# Space to start, then nothing: every road point is missed and the game ends near pass 11373.
printf '5 down 32\n6 up 32\n' > "$out/gameover.keys"

run() {
  if [ -n "${DISPLAY:-}" ]; then "$runner" "$@"; else xvfb-run -a -s "-screen 0 1280x1024x24" "$runner" "$@"; fi
}

export SDL_AUDIODRIVER=dummy
run --frames 2000 --trace "$out/title.jsonl" --audio "$out/title.wav" \
    --shot 1:"$out/title-1.png" --shot 2000:"$out/title-2000.png"
run --frames 3000 --keys "$out/flight.keys" --trace "$out/flight.jsonl" --audio "$out/flight.wav" \
    --shot 1500:"$out/flight-1500.png" --shot 3000:"$out/flight-3000.png"
run --frames 11500 --keys "$out/gameover.keys" --trace "$out/gameover.jsonl" --audio "$out/gameover.wav" \
    --shot 11372:"$out/gameover-11372.png" --shot 11500:"$out/gameover-11500.png"
# The same three scenes traced without screenshots (a runner may then draw nothing at all).
run --frames 2000 --trace "$out/title-noshot.jsonl"
run --frames 3000 --keys "$out/flight.keys" --trace "$out/flight-noshot.jsonl"
run --frames 11500 --keys "$out/gameover.keys" --trace "$out/gameover-noshot.jsonl"
echo "golden outputs in $out"
