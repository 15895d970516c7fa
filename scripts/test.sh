#!/usr/bin/env bash
# Configures and builds both trees and runs every test: native CTest, then the win32 CTest under Wine, on
# an X server of its own when there is none, in a disposable Wine prefix inside the build folder. On a machine
# without 32-bit mode the Wine tests run a 64-bit build of the same sources (scripts/wine-tree.sh).
# KORVAL_BUILD names the build folder (default: build); extra arguments go to both ctest runs (-R, -L ...).
set -uo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
build=${KORVAL_BUILD:-build}
case "$build" in /*) ;; *) build="$here/$build" ;; esac
jobs=$(nproc 2>/dev/null || echo 4)
status=0

step() { printf '\n=== %s\n' "$*"; }

step "native: configure and build"
cmake --preset native -B "$build/native" >/dev/null && cmake --build "$build/native" -j "$jobs" || exit 1

step "win32: configure and build"
cmake --preset win32 -B "$build/win32" >/dev/null && cmake --build "$build/win32" -j "$jobs" || exit 1

# The tree whose programs the Wine tests run: the shipped 32-bit one, or where this machine has no 32-bit mode
# the same sources built for 64-bit Windows (scripts/wine-tree.sh).
. "$here/scripts/wine-tree.sh"
tree=$(korval_wine_tree)
if [ "$tree" != win32 ]; then
  step "$tree: this machine runs no 32-bit programs; the Wine tests run the $tree build of the same sources"
  cmake --preset "$tree" -B "$build/$tree" >/dev/null && cmake --build "$build/$tree" -j "$jobs" || exit 1
fi

step "native: tests"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" "$@" | tee "$build/native-ctest.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

step "native: fuzz the file parsers"
bash "$here/scripts/fuzz.sh" || status=1

. "$here/scripts/display.sh"
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX" "$WINEPREFIX-loader"
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT

korval_display 1280x1024

step "$tree: Wine prefix on display $DISPLAY"
rm -rf "$build/$tree/wineprefix" "$build/$tree/wineprefix-loader"
# The prefix as the programs expect it (fonts, code page of the locale in effect): see scripts/wine-env.sh.
. "$here/scripts/wine-env.sh" "$build/$tree/wineprefix" || exit 1

step "$tree: tests under Wine"
# A test that fails is run once more: the end-to-end tests wait on window activation under Wine, which a loaded
# machine now and then delays past their waits; both runs show in the log. The tests of the shared prefix and
# display run one at a time (RUN_SERIAL); those that make a prefix and a display of their own (the languages,
# the shutdown timeline) run side by side.
ctest --test-dir "$build/$tree" --output-on-failure --repeat until-pass:2 -j 4 "$@" | tee "$build/wine-ctest.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

step "summary"
grep -hE 'tests passed|tests failed' "$build/native-ctest.log" | sed 's/^/native: /'
grep -hE 'tests passed|tests failed' "$build/wine-ctest.log" | sed "s/^/$tree:  /"
exit $status
