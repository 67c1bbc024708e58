#!/usr/bin/env bash
# Checks that the test suite catches the mistakes listed in tools/mutants.txt: for each one
# it makes the mistake in a copy of the working tree, rebuilds, and runs the quick suite (the
# tests with no display, then, if they all pass, the display tests). A mutant is "caught" when
# a test fails; one the suite lets through is "SURVIVED" and marks a gap in the tests.
#
#   tools/mutants.sh [--only REGEX] [--keep DIR] [--list]
#
# --only REGEX  only the mutants whose path matches REGEX (grep -E)
# --keep DIR    build in DIR and keep it: a later run syncs the files and rebuilds little
# --list        print the mutants and whether each still applies, and build nothing
#
# MUTANTS_TEST_TIMEOUT (seconds, default 120) bounds each test; raise it on a loaded machine, where
# a slow test timing out would count a mutant as caught (its line then ends "(Timeout)").
# The developer's tree is only read. Exit status: 0 when it ran (whatever the count), 1 when
# the unmutated suite does not build or pass, 2 on a usage error.
set -euo pipefail
# The braces make bash read the whole script before running it: a long run goes on unharmed
# when the script is edited or another branch is checked out meanwhile.
{

usage() { echo "usage: $0 [--only REGEX] [--keep DIR] [--list]" >&2; exit 2; }
only="" keep="" list=0
while [ $# -gt 0 ]; do
  case $1 in
    --only) [ $# -ge 2 ] || usage; only=$2; shift 2 ;;
    --keep) [ $# -ge 2 ] || usage; keep=$2; shift 2 ;;
    --list) list=1; shift ;;
    *) usage ;;
  esac
done
tree=$(cd "$(dirname "$0")/.." && pwd)
mutants=$tree/tools/mutants.txt

# How often the text $2 occurs in file $1.
occurrences() { TEXT=$2 perl -0777 -ne '$n = () = /\Q$ENV{TEXT}\E/g; print $n' "$1"; }

# Prints each selected mutant as path<TAB>original<TAB>replacement.
selected() {
  grep -v -e '^#' -e '^[[:space:]]*$' "$mutants" | while IFS=$'\t' read -r path orig repl; do
    if [ -z "$only" ] || [[ $path =~ $only ]]; then printf '%s\t%s\t%s\n' "$path" "$orig" "$repl"; fi
  done
}

if [ $list = 1 ]; then
  selected | while IFS=$'\t' read -r path orig repl; do
    n=0; [ -f "$tree/$path" ] && n=$(occurrences "$tree/$path" "$orig")
    state="applies"; [ "$n" = 1 ] || state="BROKEN: does not apply ($n matches)"
    printf '%-40s %s: %s -> %s\n' "$state" "$path" "$orig" "$repl"
  done
  exit 0
fi

if [ -n "$keep" ]; then
  mkdir -p "$keep"; work=$(cd "$keep" && pwd)
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/kestrava-mutants.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  trap 'exit 129' HUP; trap 'exit 130' INT; trap 'exit 143' TERM
fi
src=$work/src build=$work/build
rm -rf "$work/tmp"; mkdir -p "$src" "$work/tmp"
export TMPDIR=$work/tmp TEST_TMPDIR=$work/tmp SDL_AUDIODRIVER=dummy
export CCACHE_BASEDIR=$work CCACHE_NOHASHDIR=1
timeout=${MUTANTS_TEST_TIMEOUT:-120}

# Copies the tracked and untracked-not-ignored files as they are on disk. Only files whose
# content differs are written, with a new mtime, so a kept build recompiles just those (and a
# file a killed run left mutated is put back); files gone from the tree go from the copy.
sync_tree() {
  (cd "$tree" && git ls-files -z --cached --others --exclude-standard) | tr '\0' '\n' |
    sort -u >"$work/files"
  while IFS= read -r f; do
    [ -f "$tree/$f" ] || continue
    if ! cmp -s "$tree/$f" "$src/$f"; then mkdir -p "$(dirname "$src/$f")"; cp "$tree/$f" "$src/$f"; fi
  done <"$work/files"
  (cd "$src" && find . -type f | sed 's|^\./||' | sort) | comm -23 - "$work/files" |
    while IFS= read -r f; do rm -f "$src/$f"; done
}

# Builds the copy; the output goes to $work/build.log.
build() { cmake --build "$build" -j2 >"$work/build.log" 2>&1; }

# Runs the quick suite; fails when a test fails. The output goes to $work/test.log.
quick_suite() {
  (cd "$build" && env -u DISPLAY -u WAYLAND_DISPLAY \
    ctest -LE display --stop-on-failure --timeout "$timeout" -j2) >"$work/test.log" 2>&1 || return 1
  (cd "$build" && "$src/tools/with-display.sh" \
    ctest -L display --stop-on-failure --timeout "$timeout" -j2) >>"$work/test.log" 2>&1
}

echo "mutants: building and testing the unmutated tree in $work"
sync_tree
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRAVA_BENCH=OFF \
  "${launcher[@]}" >"$work/configure.log" 2>&1 || { echo "mutants: cmake failed, see $work/configure.log" >&2; exit 1; }
build || { tail -n 20 "$work/build.log" >&2; echo "mutants: the unmutated tree does not build" >&2; exit 1; }
quick_suite || { tail -n 20 "$work/test.log" >&2; echo "mutants: the unmutated suite fails; fix it first" >&2; exit 1; }

# Tries one mutant and prints its line; the file is restored with a new mtime.
try_mutant() {
  local path=$1 orig=$2 repl=$3 file=$src/$1 result n start=$SECONDS
  n=0; [ -f "$file" ] && n=$(occurrences "$file" "$orig")
  if [ "$n" != 1 ]; then
    result="BROKEN: does not apply ($n matches)"
  else
    cp "$file" "$work/original"
    TEXT=$orig REPL=$repl perl -0777 -pi -e 's/\Q$ENV{TEXT}\E/$ENV{REPL}/' "$file"
    if ! build; then
      result="BROKEN: does not build"
    elif quick_suite; then
      result="SURVIVED"
    else
      result="caught by $(grep -m1 -A1 'tests FAILED' "$work/test.log" | sed -n 's/^[[:space:]]*[0-9]* - //p')"
    fi
    cp "$work/original" "$file"; touch "$file"
  fi
  printf '%s  %s: %s -> %s  [%ss]\n' "$result" "$path" "$orig" "$repl" $((SECONDS - start))
}

caught=0 survived=0 broken=0 total=0
while IFS=$'\t' read -r -u 3 path orig repl; do
  line=$(try_mutant "$path" "$orig" "$repl")
  echo "$line"
  total=$((total + 1))
  case $line in
    caught*) caught=$((caught + 1)) ;;
    SURVIVED*) survived=$((survived + 1)) ;;
    *) broken=$((broken + 1)) ;;
  esac
done 3< <(selected)
echo "mutants: $caught caught, $survived survived, $broken broken of $total"
exit 0
}
