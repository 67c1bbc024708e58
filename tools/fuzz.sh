#!/bin/sh
# Builds every fuzz target (tests/fuzz/*_fuzz.cpp) with clang in build-fuzz/ and runs each
# for the given number of seconds (default 60), seeded with every PNG and WAV input the loader
# tests make (kestrava-fuzz-seeds) and the saved corpus. Usage: tools/fuzz.sh [seconds]
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
"$root/tools/install-deps.sh" clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRAVA_TESTS=ON -DKESTRAVA_BENCH=OFF -DKESTRAVA_SANITIZE=address,undefined \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" -j2 --target kestrava_fuzz kestrava-fuzz-seeds
rm -rf "$build/seeds"
"$build/fuzz/kestrava-fuzz-seeds" "$build/seeds"

# Seed inputs by kind (the target's name before "_fuzz"): the made inputs and the saved
# corpus tests/fuzz/corpus/<kind>/, which the test suite replays in every build. To keep what a
# run found, merge it into the saved corpus (only inputs that add coverage are copied):
#   build-fuzz/fuzz/png_fuzz -merge=1 tests/fuzz/corpus/png build-fuzz/corpus/png_fuzz
# and add any input that once failed there too, so it stays fixed.
seeds_for() {
  kind=${1%_fuzz}
  echo "$build/seeds/$kind $root/tests/fuzz/corpus/$kind"
}

status=0
for target in "$build"/fuzz/*_fuzz; do
  name=$(basename "$target")
  corpus=$build/corpus/$name
  mkdir -p "$corpus" "$build/crashes/$name"
  seeds=""
  for dir in $(seeds_for "$name"); do [ -d "$dir" ] && seeds="$seeds $dir"; done
  echo "== $name for $seconds s"
  # New inputs go to the first corpus folder; the seed folders are only read.
  # shellcheck disable=SC2086
  if ! "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$build/crashes/$name/" "$corpus" $seeds; then
    echo "!! $name found a failure: see $build/crashes/$name/"
    status=1
  fi
done
exit $status
