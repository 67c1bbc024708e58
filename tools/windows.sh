#!/usr/bin/env bash
# Builds the game for 64-bit Windows into build-win/: kestrava.exe (the game) and
# kestrava-script.exe (the scripted runner, a console program), each one file linked
# statically, with its icon and version as resources; then the zip a player unzips,
# build-win/kestrava-VERSION-win64.zip: a folder holding the two programs, README.txt and
# LICENSE.txt. Installs what is missing first: Debian's MinGW-w64 compilers, its zlib, stb and
# wine (which runs the tests, tools/wine.sh), and the desktop's build packages, because the
# asset generators are built and run natively first (in build-host/, shared with tools/web.sh).
#
#   tools/windows.sh
#   tools/wine.sh build-win/kestrava-script.exe --frames 3000 --keys K --trace t.jsonl
#
# CMAKE_CXX_COMPILER_LAUNCHER=ccache in the environment compiles through ccache.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 0 ] || { echo "usage: tools/windows.sh" >&2; exit 2; }

tools/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev libgles-dev \
  wine64 wine
jobs=$(nproc)

echo "== The asset generators, natively (build-host/)"
cmake -S . -B build-host -DCMAKE_BUILD_TYPE=Release -DKESTRAVA_TESTS=OFF -DKESTRAVA_BENCH=OFF
cmake --build build-host -j"$jobs" --target kestrava_fontgen kestrava_picturegen kestrava_icongen \
  kestrava_musicgen kestrava_icopack

echo "== The programs, for Windows (build-win/)"
cmake -S . -B build-win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DKESTRAVA_HOST_BUILD="$PWD/build-host"
cmake --build build-win -j"$jobs" --target kestrava kestrava-script

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
name=kestrava-$version-win64
echo "== The zip (build-win/$name.zip)"
rm -rf "build-win/$name" "build-win/$name.zip"
mkdir "build-win/$name"
cp build-win/kestrava.exe build-win/kestrava-script.exe "build-win/$name/"
# Notepad and every Windows editor read CRLF line ends.
sed 's/\r*$/\r/' README.md >"build-win/$name/README.txt"
sed 's/\r*$/\r/' LICENSE >"build-win/$name/LICENSE.txt"
(cd build-win && cmake -E tar cf "$name.zip" --format=zip "$name")
echo "Built build-win/$name.zip ($(stat -c %s "build-win/$name.zip") bytes)"
