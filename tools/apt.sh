# Sourced by the scripts that install packages: every apt-get call of tools/ goes through
# apt_get, which runs it as root (through sudo when not root) without questions, and waits
# while another package install holds apt's or dpkg's lock instead of giving up at once.
#
#   apt_get ARG...          e.g. apt_get install -y -qq cmake
#
# It waits up to KESTRAVA_APT_WAIT seconds (default 300) for the lock, saying so once.
# apt-get's own DPkg::Lock::Timeout waits for dpkg's lock only (apt 2.6's `update` still
# fails at once on the lists' lock) and says nothing, so the refusal is retried here instead:
# apt-get takes its locks before it changes anything.
apt_get() {
  local sudo="" said="" status errors
  local deadline=$((SECONDS + ${KESTRAVA_APT_WAIT:-300}))
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  errors=$(mktemp "${TMPDIR:-/tmp}/kestrava-apt.XXXXXX")
  while :; do
    status=0
    DEBIAN_FRONTEND=noninteractive $sudo apt-get "$@" 2>"$errors" || status=$?
    if [ "$status" -ne 0 ] && grep -q "Could not get lock" "$errors" && [ "$SECONDS" -lt "$deadline" ]; then
      [ -n "$said" ] || echo "waiting for another package install to finish..." >&2
      said=yes
      sleep 1
      continue
    fi
    cat "$errors" >&2
    rm -f "$errors"
    return "$status"
  done
}
