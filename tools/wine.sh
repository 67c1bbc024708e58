#!/usr/bin/env bash
# Runs a program of the Windows build under wine, as every wine test does: with the build's
# own prefix and home (PROGRAM's folder/wine/, never ~/.wine), wine's own messages off, and an
# ALSA null device so wine's audio has somewhere to play. The program's standard output and
# error pass through; the exit status is the program's.
#
#   tools/wine.sh build-win/kestrava-script.exe --frames 2000 --trace t.jsonl
#
# The prefix is made on first use (about 13 s), under a lock so tests started together wait
# for one another instead of making it twice. KESTRAVA_WINE_ROOT names another folder for it.
set -euo pipefail

[ $# -ge 1 ] || { echo "usage: tools/wine.sh PROGRAM.exe [ARG...]" >&2; exit 2; }
program=$1
shift
[ -f "$program" ] || { echo "tools/wine.sh: no such program: $program" >&2; exit 2; }

root=${KESTRAVA_WINE_ROOT:-$(cd "$(dirname "$program")" && pwd)/wine}
mkdir -p "$root/home"
export WINEPREFIX=$root/prefix
export HOME=$root/home
export WINEDEBUG=-all
# No Mono or Gecko installers, and no menu entries or file associations written to HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Debian's /usr/bin/wine asks for wine32 on stderr; the 64-bit loader itself does not.
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64 || command -v wine)

if [ ! -f "$WINEPREFIX/.kestrava-ready" ]; then
  exec 9>"$root/prefix.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.kestrava-ready" ]; then
    printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
    rm -rf "$WINEPREFIX"
    DISPLAY="" WAYLAND_DISPLAY="" "$loader" wineboot --init >/dev/null 2>&1
    wineserver -w 2>/dev/null || true
    touch "$WINEPREFIX/.kestrava-ready"
  fi
  exec 9>&-
fi

exec "$loader" "$program" "$@"
