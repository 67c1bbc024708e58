#!/usr/bin/env bash
# Checks Kestrava installs like a desktop program, from a built tree:
#   1. `cmake --install` into a temporary DESTDIR (prefix /usr) under umask 077 puts down the
#      programs, the desktop entry, the icons, the metainfo and the manual pages (listed), all
#      readable by every user, and the uninstall target takes a ~/.local-style install away again;
#   2. desktop-file-validate and appstreamcli validate --no-net pass, the manual page formats
#      without a warning;
#   3. cpack makes the .deb (under umask 077 too, its modes checked) and lintian finds no error
#      in it (its warnings are listed);
#   4. the installed game starts from the DESTDIR on a display of its own, shows the icon on
#      its window, and quits on Escape with status 0;
#   5. as root (or with sudo -n), `apt-get install ./kestrava_*.deb` gives the program (in
#      /usr/games, as Debian's games), the menu entry, the icon and `man 6 kestrava`, and
#      `apt-get remove` leaves no file of the package behind.
#      Without root this step reports itself skipped. The package is never left installed.
#
#   tools/package-check.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/apt.sh
tools/install-deps.sh desktop-file-utils appstream lintian dpkg-dev fakeroot file man-db x11-utils
build=${1:?usage: tools/package-check.sh BUILD_DIR}
build=$(cd "$build" && pwd)
id=io.github.kestrava.Kestrava

passed=0 failed=0 skipped=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
skip() { echo "SKIP: $*"; skipped=$((skipped + 1)); }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-package.XXXXXX")
installed_here=""
sudo=""
# The build's install_manifest.txt lists the last real install; the trial installs below
# overwrite it, so it is put back at the end.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$tmp/manifest.saved"
cleanup() {
  if [ -f "$tmp/manifest.saved" ]; then cp "$tmp/manifest.saved" "$manifest"; else rm -f "$manifest"; fi
  # Whatever happened, the package this script installed goes again.
  if [ -n "$installed_here" ]; then
    apt_get purge -y -qq kestrava >/dev/null 2>&1 || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

cmake --build "$build" -j"$(nproc)" --target kestrava kestrava-script kestrava_icons kestrava_dist_files >/dev/null

# The install and the package are made under a strict umask: whatever the installer's, every
# user may enter the folders and read (and run) the files.
loose_modes() { grep -Ev '^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x) ' || true; }

echo "== Installing into a temporary DESTDIR (prefix /usr), under umask 077"
dest=$tmp/root
(umask 077 && DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null)
(cd "$dest" && find . -type f -printf '%M %8s %p\n' | sort -k3)
modes=$(cd "$dest" && find . -printf '%M %p\n' | loose_modes)
if [ -z "$modes" ]; then pass "the folders made are 0755 and the files 0644 or 0755"; else fail "modes: $modes"; fi
missing=()
for f in usr/bin/kestrava usr/bin/kestrava-script usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml usr/share/man/man6/kestrava.6.gz \
         usr/share/man/man6/kestrava-script.6.gz usr/share/doc/kestrava/copyright; do
  [ -f "$dest/$f" ] || missing+=("$f")
done
for size in 32 48 64 128 256; do
  icon=$dest/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  if ! file "$icon" 2>/dev/null | grep -q "PNG image data, $size x $size, 8-bit/color RGBA"; then
    missing+=("${size}x${size} RGBA icon")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then pass "cmake --install puts down every file"; else fail "missing: ${missing[*]}"; fi

# A user's install and its removal: the uninstall target reads install_manifest.txt.
home_prefix=$tmp/home/.local
cmake --install "$build" --prefix "$home_prefix" >/dev/null
count=$(find "$home_prefix" -type f | wc -l)
cmake --build "$build" --target uninstall >/dev/null
left=$(find "$home_prefix" -type f | wc -l)
if [ "$count" -ge 12 ] && [ "$left" -eq 0 ]; then
  pass "--prefix ~/.local installs $count files and the uninstall target removes them all"
else
  fail "--prefix ~/.local installed $count files; $left left after uninstall"
fi

echo "== Validating the desktop entry, the metainfo and the manual page"
if desktop-file-validate "$dest/usr/share/applications/$id.desktop" &&
   appstreamcli validate --no-net --explain "$dest/usr/share/metainfo/$id.metainfo.xml"; then
  pass "desktop-file-validate and appstreamcli validate --no-net"
else
  fail "the desktop entry or the metainfo does not validate"
fi
man_warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l "$dest/usr/share/man/man6/kestrava.6.gz" 2>&1 >/dev/null || true)
if [ -z "$man_warnings" ]; then pass "the manual page formats without warnings"; else fail "man: $man_warnings"; fi

echo "== The Debian package"
pkg=$tmp/pkg
mkdir -p "$pkg"
(cd "$build" && umask 077 && cpack -G DEB -B "$pkg" >/dev/null)
deb=$(ls "$pkg"/kestrava_*.deb)
modes=$(dpkg-deb -c "$deb" | awk '{print $1, $6}' | loose_modes)
if [ -z "$modes" ]; then pass "the package's folders are 0755 and its files 0644 or 0755"; else fail "package modes: $modes"; fi
echo "$(basename "$deb"):"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
lintian_args=(--fail-on error --display-info)
[ "$(id -u)" -eq 0 ] && lintian_args+=(--allow-root)
if lintian "${lintian_args[@]}" "$deb" >"$tmp/lintian.txt" 2>&1; then
  pass "lintian finds no error"
else
  fail "lintian finds errors"
fi
sed 's/^/  lintian: /' "$tmp/lintian.txt"

echo "== The installed game on a display of its own"
cat >"$tmp/escape.sh" <<EOF
SDL_AUDIODRIVER=dummy "$dest/usr/bin/kestrava" & pid=\$!
for i in \$(seq 1 100); do
  w=\$(xdotool search --name '^Kestrava v' 2>/dev/null | head -n 1)
  [ -n "\$w" ] && break; sleep 0.1
done
[ -n "\$w" ] || { kill \$pid; echo 'no window'; exit 3; }
sleep 3
xprop -id \$w WM_CLASS
xprop -id \$w 32c _NET_WM_ICON | head -c 60; echo
xdotool windowfocus --sync \$w
xdotool key Escape
for i in \$(seq 1 100); do kill -0 \$pid 2>/dev/null || break; sleep 0.1; done
kill -0 \$pid 2>/dev/null && { kill \$pid; echo 'still running'; exit 4; }
wait \$pid; echo "status \$?"
EOF
run=$(tools/with-display.sh bash "$tmp/escape.sh" 2>&1 || true)
echo "$run" | sed 's/^/  /'
if echo "$run" | grep -q '^status 0$'; then pass "the installed game ran and quit on Escape with status 0"; else fail "the installed game did not quit cleanly"; fi
if echo "$run" | grep -q '_NET_WM_ICON(CARDINAL) = 256, 256'; then pass "the window shows the 256x256 icon"; else fail "the window has no 256x256 icon"; fi
wm_class=$(sed -n 's/^StartupWMClass=//p' "$dest/usr/share/applications/$id.desktop")
if echo "$run" | grep -q "WM_CLASS(STRING) = .*\"$wm_class\""; then pass "the window's class is the desktop entry's StartupWMClass ($wm_class)"; else fail "the window's class is not $wm_class"; fi

echo "== Installing and removing the package with apt-get"
if [ "$(id -u)" -ne 0 ]; then
  if sudo -n true 2>/dev/null; then sudo="sudo -n"; else sudo="none"; fi
fi
if [ "$sudo" = "none" ]; then
  skip "installing the package needs root or sudo without a password"
elif dpkg-query -W -f='${Status}' kestrava 2>/dev/null | grep -q "install ok installed"; then
  skip "kestrava is already installed on this machine; left as it is"
else
  cp "$deb" "$tmp/"
  installed_here=yes
  (cd "$tmp" && apt_get install -y -qq --no-install-recommends "./$(basename "$deb")" >"$tmp/apt.txt" 2>&1) ||
    { cat "$tmp/apt.txt"; fail "apt-get install"; }
  dpkg -L kestrava | sort >"$tmp/files.txt"
  # What was a file or link before the removal, and what was a folder.
  : >"$tmp/plain.txt"; : >"$tmp/dirs.txt"
  while read -r p; do
    if [ -d "$p" ] && [ ! -L "$p" ]; then echo "$p" >>"$tmp/dirs.txt"; else echo "$p" >>"$tmp/plain.txt"; fi
  done <"$tmp/files.txt"
  echo "  $(wc -l <"$tmp/plain.txt") files installed:"
  sed 's/^/    /' "$tmp/plain.txt"
  page=$(man -w 6 kestrava 2>/dev/null || true)
  if [ "$page" = /usr/share/man/man6/kestrava.6.gz ] && [ -f /usr/share/applications/$id.desktop ] &&
     [ -f /usr/share/icons/hicolor/48x48/apps/$id.png ] && [ -x /usr/games/kestrava ] &&
     [ "$(PATH=/usr/games:/usr/bin command -v kestrava)" = /usr/games/kestrava ] &&
     /usr/games/kestrava --version | grep -q '^kestrava '; then
    pass "the installed package has its menu entry, icon, manual page ($page) and program"
  else
    fail "the installed package lacks its menu entry, icon, manual page or program"
  fi
  apt_get remove -y -qq kestrava >/dev/null
  installed_here=""
  remaining=()
  while read -r p; do
    if [ -e "$p" ] || [ -L "$p" ]; then remaining+=("$p"); fi
  done <"$tmp/plain.txt"
  # A folder may stay only when another package owns it or something else is in it.
  while read -r p; do
    if [ -d "$p" ] && [ -z "$(ls -A "$p")" ] && ! dpkg -S "$p" >/dev/null 2>&1; then remaining+=("$p/"); fi
  done <"$tmp/dirs.txt"
  if [ ${#remaining[@]} -eq 0 ] && ! dpkg-query -W -f='${Status}' kestrava 2>/dev/null | grep -q "installed"; then
    pass "apt-get remove leaves no file of the package"
  else
    fail "left after apt-get remove: ${remaining[*]}"
  fi
  apt_get purge -y -qq kestrava >/dev/null 2>&1 || true
fi

echo "package-check: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
