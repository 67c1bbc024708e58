#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite in a Release build
# (the tests that need no display with none at all, the pixel and window tests on a virtual
# X display of their own with Mesa's software renderer), then the picture and sound loaders
# and the fuzz targets' saved inputs under AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, then the mixer's hand-over rings under ThreadSanitizer.
# Before those, the web build (tools/web.sh), whose runner under node must write the desktop
# runner's traces and audio byte for byte, and whose page must play in headless Chromium; and
# the Windows build (tools/windows.sh), whose programs under wine must do the same.
# `tools/test.sh --quick` runs only the first part.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc)
export SDL_AUDIODRIVER=dummy
# Every file a test writes goes to a folder of this run's own, so runs side by side (other
# clones, other users) never share a path in /tmp; it goes when the run ends.
run_tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-test.XXXXXX")
trap 'rm -rf "$run_tmp"' EXIT
export TMPDIR=$run_tmp TEST_TMPDIR=$run_tmp
# The suite's display is a server of its own (tools/with-display.sh), not a guessed number.
with_display=tools/with-display.sh

echo "== Release build and the whole suite"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
env -u DISPLAY -u WAYLAND_DISPLAY ctest --test-dir build --output-on-failure -j"$jobs" -LE display
$with_display ctest --test-dir build --output-on-failure -j"$jobs" -L display

[ "${1:-}" = "--quick" ] && exit 0

echo "== The web build, and its runner under node against the desktop's"
tools/web.sh
KESTRAVA_WEB_BUILD=$PWD/build-web env -u DISPLAY -u WAYLAND_DISPLAY \
  ctest --test-dir build --output-on-failure -R '^runner\.Flight\.TheWebRunner'

echo "== The page in headless Chromium, against the desktop runner"
tools/install-deps.sh chromium
command -v npm >/dev/null || tools/install-deps.sh npm
(cd tests/web && npm ci --no-audit --no-fund)
KESTRAVA_BUILD=$PWD/build $with_display node --test tests/web/

echo "== The Windows build, and its programs under wine against the desktop's"
tools/windows.sh
KESTRAVA_WINDOWS_BUILD=$PWD/build-win env -u DISPLAY -u WAYLAND_DISPLAY \
  ctest --test-dir build --output-on-failure -LE display -R 'UnderWine'
KESTRAVA_WINDOWS_BUILD=$PWD/build-win $with_display \
  ctest --test-dir build --output-on-failure -L display -R 'UnderWine|^runner\.Replay\.AGamePlayedWithKeys'

echo "== Loaders under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRAVA_SANITIZE=address,undefined -DKESTRAVA_BENCH=OFF
cmake --build build-asan -j"$jobs" --target draw2d_tests draw2d_display_tests audio_tests \
  kestrava-fuzz-seeds png_fuzz_regressions wav_fuzz_regressions
# Leaks are reported, except those of the system's GL and SDL libraries (tools/lsan.supp);
# the fuzz targets replay their saved corpora and every made input here too.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1 \
  $with_display ctest --test-dir build-asan --output-on-failure -R '^(draw2d|audio|fuzz)\.'

echo "== Mixer rings under ThreadSanitizer"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRAVA_SANITIZE=thread -DKESTRAVA_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target audio_tests
ctest --test-dir build-tsan --output-on-failure -R '^audio\.'

echo "== Installing, the Debian package, and its removal"
tools/package-check.sh build
