#!/usr/bin/env bash
# The Windows build under wine beside the native build, in one run: the zip's size, start-up
# (process start to exit of `kestrava-script --frames 1`, the median of STARTS runs, wine's
# prefix already made), and a flight of PASSES passes on tools/golden.sh's tapped keys: the
# whole run drawing nothing (ms, and per pass), and drawn with OpenGL, the wall time per pass
# from --stats. Two columns, native and wine. Runs under a private virtual display
# (tools/with-display.sh, Mesa's software renderer for both) when none is set.
#
#   bench/windows.sh [BUILD] [WINDOWS_BUILD]      (defaults: build, build-win)
#   environment: STARTS (default 11), PASSES (default 3000)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[ -n "${DISPLAY:-}" ] || exec "$root/tools/with-display.sh" "$0" "$@"
native=$(cd "${1:-$root/build}" && pwd)
windows=$(cd "${2:-$root/build-win}" && pwd)
starts=${STARTS:-11}
passes=${PASSES:-3000}
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-bench-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy

keys=$work/flight.keys
printf '5 down 32\n6 up 32\n' >"$keys"
for ((f = 20; f < passes; f += 40)); do
  printf '%d down 90\n%d down 39\n%d up 90\n%d up 39\n' $f $f $((f + 6)) $((f + 6)) >>"$keys"
done

native_runner=("$native/kestrava-script")
wine_runner=("$root/tools/wine.sh" "$windows/kestrava-script.exe")
"${wine_runner[@]}" --version >/dev/null   # makes wine's prefix, once

# The median, in milliseconds, of STARTS runs of `RUNNER --frames 1`.
startup_ms() {
  local times=() t0 t1
  for ((i = 0; i < starts; ++i)); do
    t0=$(date +%s%N)
    "$@" --frames 1 >/dev/null
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((starts + 1) / 2))p"
}

# The flight drawing nothing: "TOTAL ms, PER us/pass".
undrawn() {
  local t0 t1
  t0=$(date +%s%N)
  "$@" --frames "$passes" --keys "$keys" >/dev/null
  t1=$(date +%s%N)
  echo "$(((t1 - t0) / 1000000)) ms, $(((t1 - t0) / 1000 / passes)) us/pass"
}

# The flight drawn: "min, median, p99, max" microseconds per pass.
per_pass() {
  "$@" --frames "$passes" --keys "$keys" --stats | sed -n 's/^wall time per pass (us): //p'
}

zip=$(ls "$windows"/kestrava-*-win64.zip)
printf 'zip: %s, %d bytes\n\n' "$(basename "$zip")" "$(stat -c %s "$zip")"
printf '%-52s %-30s %s\n' "" "native" "wine"
printf '%-52s %-30s %s\n' "start-up to exit of --frames 1 (ms)" "$(startup_ms "${native_runner[@]}")" \
  "$(startup_ms "${wine_runner[@]}")"
printf '%-52s %-30s %s\n' "flight of $passes passes, no drawing" "$(undrawn "${native_runner[@]}")" \
  "$(undrawn "${wine_runner[@]}")"
printf '%-52s %-30s %s\n' "flight drawn, per pass (us): min, median, p99, max" "$(per_pass "${native_runner[@]}")" \
  "$(per_pass "${wine_runner[@]}")"
