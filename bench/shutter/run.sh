#!/usr/bin/env bash
# Runs the shutdown agent's benchmark (build/win32/bench/shutter/shutter_bench.exe, or the win64 tree's where
# the machine has no 32-bit mode: scripts/wine-tree.sh) under Wine as it needs to run: in a Wine prefix of its own whose windows live on a virtual desktop, on an X server it starts itself
# when there is no display. On a bare X server without a window manager Wine waits for one whenever a window
# goes away, which holds the fixture's windows past the agent's close time-out.
#
#   bash bench/shutter/run.sh [shutter_bench.exe arguments]
#
# KORVAL_BUILD names the build folder (default: build). The prefix is made once, in
# <build>/<tree>/shutter-bench-prefix, and kept for the next run; remove that folder to start afresh.
# The exit code is the benchmark's: 1 when not every window closed.
set -uo pipefail

here=$(cd "$(dirname "$0")/../.." && pwd)
build=${KORVAL_BUILD:-build}
case "$build" in /*) ;; *) build="$here/$build" ;; esac
. "$here/scripts/wine-tree.sh"
tree=$(korval_wine_tree)
bench="$build/$tree/bench/shutter/shutter_bench.exe"
if [ ! -f "$bench" ]; then
  echo "no $bench: build the $tree tree first (cmake --preset $tree && cmake --build build/$tree)" >&2
  exit 2
fi

export WINEPREFIX="$build/$tree/shutter-bench-prefix"

. "$here/scripts/display.sh"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT

korval_display 1280x1024

if [ ! -f "$WINEPREFIX/user.reg" ] || ! grep -q '^"Desktop"="ShutterBench"' "$WINEPREFIX/user.reg"; then
  echo "preparing the Wine prefix $WINEPREFIX with a virtual desktop" >&2
  . "$here/scripts/wine-env.sh" "$WINEPREFIX" || exit 1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d ShutterBench /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v ShutterBench /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
else
  . "$here/scripts/wine-env.sh" "$WINEPREFIX" || exit 1
fi

wine "$bench" "$@"
status=$?
exit $status
