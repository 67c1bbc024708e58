#!/usr/bin/env bash
# The game on a desktop beside a bare SDL window, in one run on a private Xvfb
# (tools/with-display.sh, Mesa's software renderer):
#   - frame pacing: presents in SECONDS seconds on the title screen (from a second after the
#     first present, so start-up is left out) and the intervals between them (p1, p50, p99,
#     max), from `kestrava --frame-log` and the bare window's own log;
#   - start-up: process start to the third present, the median of STARTS starts each (one
#     start varies by +-30 ms on a shared display, so it takes a score of them);
#   - memory: anonymous memory (RssAnon) on the title screen, MEMORY_AT seconds in (the game's
#     the median of MEMORY_RUNS starts);
#   - last, the title screen's per-pass figures from the scripted runner.
# The bare window (bench/bare_window.cpp, built here) opens a 640x480 OpenGL window, clears
# it and presents at 60 Hz; it also starts each program, noting the boot clock first.
#
#   bench/desktop.sh [BUILD_DIR] [SECONDS]      (defaults: build, 60)
#   environment: STARTS (default 21), MEMORY_AT (default 10), MEMORY_RUNS (default 5),
#   PASSES (default 24000),
#   NICE (default 0: a negative value, as root, keeps other work on the machine from
#   crowding out the display server and the programs measured)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--on-display" ]; then
  shift
  build=$1 seconds=$2 work=$3
  starts=${STARTS:-21}
  memory_at=${MEMORY_AT:-10}
  memory_runs=${MEMORY_RUNS:-5}
  # Read while both programs still run: within the span, whatever MEMORY_AT says.
  [ "$memory_at" -lt "$seconds" ] || memory_at=$(( seconds > 1 ? seconds / 2 : 1 ))
  bare=$work/bare_window
  game=$build/kestrava

  # Starts a program through --timed-exec (its frame log goes to $work/log); its pid in $pid.
  launch() {
    rm -f "$work/log" "$work/start"
    "$bare" --timed-exec "$work/start" "$@" >"$work/out" 2>&1 &
    pid=$!
  }
  # Waits until the frame log has $1 lines (at most 20 s).
  await_presents() {
    for _ in $(seq 1 2000); do
      [ -f "$work/log" ] && [ "$(wc -l <"$work/log")" -ge "$1" ] && return 0
      sleep 0.01
    done
    echo "desktop: no $1 presents; the program said:" >&2
    cat "$work/out" >&2
    return 1
  }
  stop() {
    kill -TERM "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
  }
  # Microseconds from the process start to its third present.
  third_present() {
    echo $(($(sed -n 3p "$work/log") - $(cat "$work/start")))
  }
  # Presents within $seconds from the first one a second after start-up, and the intervals
  # between them in ms (their p1, p50, p99 and max).
  pacing() {
    awk -v span="$seconds" 'NR == 1 { first = $1 } $1 - first < 1000000 { next }
         !n { start = $1; prev = $1; n = 1; next }
         $1 - start < span * 1000000 { n++; print ($1 - prev) / 1000; prev = $1 }
         END { print n > "/dev/stderr" }' "$1" 2>"$work/count" | sort -n >"$work/intervals"
    local n count
    n=$(wc -l <"$work/intervals")
    count=$(cat "$work/count")
    pick() { sed -n "$(( ($1 * (n - 1) + 50) / 100 + 1 ))p" "$work/intervals"; }
    printf '%6d %8.2f %8.2f %8.2f %8.2f' "$count" "$(pick 1)" "$(pick 50)" "$(pick 99)" "$(tail -n 1 "$work/intervals")"
  }
  anon_mb() {
    awk '/^RssAnon:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"
  }
  median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

  # Start-up, alternating the two programs so both see the same machine.
  : >"$work/bare_starts"
  : >"$work/game_starts"
  for _ in $(seq 1 "$starts"); do
    launch "$bare" "$work/log" 1
    await_presents 3
    third_present >>"$work/bare_starts"
    stop "$pid"
    launch "$game" --frame-log "$work/log"
    await_presents 3
    third_present >>"$work/game_starts"
    stop "$pid"
  done
  bare_start=$(median <"$work/bare_starts")
  game_start=$(median <"$work/game_starts")

  # Pacing and memory: each program on its own for the whole span.
  launch "$bare" "$work/log" "$((seconds + 2))"
  await_presents 3
  sleep "$memory_at"
  bare_anon=$(anon_mb "$pid")
  wait "$pid" || true
  cp "$work/log" "$work/bare_frames"
  launch "$game" --frame-log "$work/log"
  await_presents 3
  sleep "$memory_at"
  game_anon=$(anon_mb "$pid")
  sleep "$((seconds + 2 - memory_at))"
  stop "$pid"
  cp "$work/log" "$work/game_frames"
  # The game's memory differs by a few MB from one start to the next (how much the renderer
  # holds at that moment), so it is read in MEMORY_RUNS starts and the median shown.
  echo "$game_anon" >"$work/game_anons"
  for _ in $(seq 2 "$memory_runs"); do
    launch "$game" --frame-log "$work/log"
    await_presents 3
    sleep "$memory_at"
    anon_mb "$pid" >>"$work/game_anons"
    echo >>"$work/game_anons"
    stop "$pid"
  done
  game_anon=$(median <"$work/game_anons")

  echo "Frame pacing, ${seconds} s on the title screen (intervals between presents, ms)"
  printf '  %-12s %6s %8s %8s %8s %8s\n' "" presents p1 p50 p99 max
  printf '  %-12s %s\n' "bare window" "$(pacing "$work/bare_frames")"
  printf '  %-12s %s\n' "kestrava" "$(pacing "$work/game_frames")"
  echo
  echo "Start-up, process start to the third present (median of $starts, ms)"
  ms() { awk -v us="$1" 'BEGIN { printf "%8.1f", us / 1000 }'; }
  printf '  %-12s %s\n' "bare window" "$(ms "$bare_start")"
  printf '  %-12s %s\n' "kestrava" "$(ms "$game_start")"
  printf '  %-12s %s\n' "difference" "$(ms "$((game_start - bare_start))")"
  echo "  (each start, us: bare $(paste -sd' ' "$work/bare_starts"); kestrava $(paste -sd' ' "$work/game_starts"))"
  echo
  echo "Anonymous memory on the title screen, ${memory_at} s in (RssAnon, MB)"
  printf '  %-12s %8s\n' "bare window" "$bare_anon"
  printf '  %-12s %8s   (median of %d starts: %s)\n' "kestrava" "$game_anon" "$memory_runs" \
    "$(sort -n "$work/game_anons" | paste -sd' ')"
  exit 0
fi

build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-60}
[ -x "$build/kestrava" ] || { echo "desktop: no $build/kestrava; build it first" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-desktop.XXXXXX")
trap 'rm -rf "$work"' EXIT

# shellcheck disable=SC2046
c++ -O2 -std=c++17 -o "$work/bare_window" "$root/bench/bare_window.cpp" $(pkg-config --cflags --libs sdl2) -lGL

echo "kestrava from $build, beside a bare SDL window; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), nice ${NICE:-0}"
echo
nice -n "${NICE:-0}" "$root/tools/with-display.sh" bash "$0" --on-display "$build" "$seconds" "$work"

# --- The title screen's per-pass figures over the scripted runner's passes ---------------
passes=${PASSES:-24000}
echo
if [ "$passes" = 0 ]; then
  echo "(the per-pass figures skipped: PASSES=0)"
elif [ -x "$build/kestrava-script" ]; then
  # Drawn with OpenGL on a display of its own; the --shot makes older runners, whose --stats
  # alone drew nothing, draw too.
  echo "Title screen per pass, $passes passes (kestrava-script --frames $passes --stats)"
  nice -n "${NICE:-0}" "$root/tools/with-display.sh" "$build/kestrava-script" --frames "$passes" --stats \
    --shot "$passes:$work/last.png" 2>&1 | sed 's/^/  /'
else
  echo "(no $build/kestrava-script: build it for the title screen's per-pass figures)"
fi
