#!/usr/bin/env bash
# Runs a command on an X display of its own: a new Xvfb that picks a free display number by
# itself and tells it through a pipe (-displayfd), with a private cookie in a fresh temporary
# folder. Nothing is guessed from lock files in /tmp, so servers started at the same moment by
# other runs, other programs or xvfb-run never take each other's display; and the command
# fails here, clearly, when the server does not start, instead of running on a display that
# is not its own. The server and the folder go when the command ends.
#
#   tools/with-display.sh [-s "SERVER ARGS"] COMMAND [ARG...]
#
# SERVER ARGS default to "-screen 0 1280x1024x24". The exit status is the command's.
set -euo pipefail

server_args="-screen 0 1280x1024x24"
if [ "${1:-}" = "-s" ]; then
  server_args=${2:?-s needs the server arguments}
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: $0 [-s \"SERVER ARGS\"] COMMAND [ARG...]" >&2; exit 2; }

dir=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-display.XXXXXX")
xvfb=""
stop() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap stop EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# -noreset: by default the server resets whenever its last client leaves, and a client that
# connects at that moment (a test starting as another ends, the game starting while xdotool
# polls for its window) is dropped by the reset: SDL then finds no display ("only SDL's
# offscreen video driver could start").
# The server takes every cookie in its file whatever display an entry names, so the cookie
# can be given before the display number is known; clients find it under the number later.
cookie=$(mcookie)
touch "$dir/auth"
xauth -q -f "$dir/auth" add :0 . "$cookie"
mkfifo "$dir/display"
# shellcheck disable=SC2086
Xvfb -displayfd 3 -nolisten tcp -noreset -auth "$dir/auth" $server_args 3>"$dir/display" 2>"$dir/server.log" &
xvfb=$!
# The number arrives once the server accepts connections; end of file means it failed.
number=""
read -r -t 60 number <"$dir/display" || true
if [ -z "$number" ]; then
  echo "with-display: Xvfb did not start:" >&2
  tail -n 5 "$dir/server.log" >&2
  exit 1
fi
xauth -q -f "$dir/auth" add ":$number" . "$cookie"

set +e
DISPLAY=":$number" XAUTHORITY="$dir/auth" "$@"
status=$?
set -e
exit $status
