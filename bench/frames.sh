#!/usr/bin/env bash
# The title screen's time per pass, drawn with OpenGL, for one build or two side by side:
#
#   bench/frames.sh BUILD [BASE_BUILD] [--frames N] [--from F] [--gles]
#
# First the runner's wall time per pass over passes 1 to N (default 24000): min, median, p99,
# max, from `kestrava-script --frames N --stats` (a screenshot of the last pass is asked for
# too, so that an older runner whose --stats drew nothing draws with OpenGL as well), and with
# --gles a second row for each build drawn with the OpenGL ES 2 driver. Then,
# for each build that has bench/bench_frames, the time of every layer of the picture over
# passes F (default N / 2) to N. Runs under a private virtual display when none is set.
# The figures are wall time: run it on a quiet machine, and more than once.
set -euo pipefail

usage="usage: bench/frames.sh BUILD [BASE_BUILD] [--frames N] [--from F] [--gles]"
builds=()
frames=24000
from=""
drivers=("")
while [ $# -gt 0 ]; do
  case "$1" in
    --frames) frames=${2:?$usage}; shift 2 ;;
    --from) from=${2:?$usage}; shift 2 ;;
    --gles) drivers=("" --gles); shift ;;
    -*) echo "$usage" >&2; exit 2 ;;
    *) builds+=("$1"); shift ;;
  esac
done
[ ${#builds[@]} -ge 1 ] && [ ${#builds[@]} -le 2 ] || { echo "$usage" >&2; exit 2; }
[ -n "$from" ] || from=$((frames / 2))
here=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${DISPLAY:-}" ]; then exec "$here/tools/with-display.sh" "$0" "${builds[@]}" --frames "$frames" --from "$from" ${drivers[1]:-}; fi
export SDL_AUDIODRIVER=dummy
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-frames.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The baseline first, then the build measured.
names=("${builds[@]}")
if [ ${#builds[@]} -eq 2 ]; then names=("${builds[1]}" "${builds[0]}"); fi

echo "title screen, passes 1 to $frames: wall time per pass (us)"
printf '%-28s %8s %8s %8s %8s\n' build min median p99 max
for b in "${names[@]}"; do
  runner="$b/kestrava-script"
  [ -x "$runner" ] || { echo "no $runner" >&2; exit 2; }
  for driver in "${drivers[@]}"; do
    line=$("$runner" $driver --frames "$frames" --stats --shot "$frames:$scratch/last.png" | grep '^wall time per pass')
    # "wall time per pass (us): min A, median B, p99 C, max D"
    read -r min median p99 max <<<"$(echo "$line" | sed -E 's/.*min ([0-9]+), median ([0-9]+), p99 ([0-9]+), max ([0-9]+).*/\1 \2 \3 \4/')"
    printf '%-28s %8s %8s %8s %8s\n' "$b${driver:+ $driver}" "$min" "$median" "$p99" "$max"
  done
done

for b in "${names[@]}"; do
  [ -x "$b/bench/bench_frames" ] || continue
  echo
  echo "$b: layers"
  "$b/bench/bench_frames" --frames "$frames" --from "$from"
done
