#!/usr/bin/env bash
# The status panel on a simulated unit: builds the win32 programs, lays out a program folder and a data folder,
# starts the simulated monitor with scenarios/unit-states.txt (on line, power failure, low battery, boost,
# buck, overload, bad battery, self-test, no data) and shows statuspanel.exe on it under Wine.
#
#   bash scripts/demo.sh                 on the display in $DISPLAY, until the panel is closed
#   bash scripts/demo.sh --shots DIR     one pass of the scenario, a screenshot of each state into DIR
#
# Without a display it starts Xvfb and takes the screenshots (into $KORVAL_BUILD/demo-shots unless --shots
# names a folder). KORVAL_BUILD names the build folder, as for scripts/test.sh.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
build=${KORVAL_BUILD:-build}
case "$build" in /*) ;; *) build="$here/$build" ;; esac
scenario="$here/scenarios/unit-states.txt"
shots=""
while [ $# -gt 0 ]; do
  case "$1" in
    --shots) shots=${2:?--shots needs a folder}; shift 2 ;;
    *) echo "usage: bash scripts/demo.sh [--shots DIR]" >&2; exit 2 ;;
  esac
done
[ -z "${DISPLAY:-}" ] && [ -z "$shots" ] && shots="$build/demo-shots"

echo "=== building the win32 programs in $build/win32"
cmake --preset win32 -B "$build/win32" >/dev/null
cmake --build "$build/win32" --target statuspanel korvalmon korvalprobe korval_program_files -j "$(nproc 2>/dev/null || echo 4)"

work=$(mktemp -d)
xvfb_pid=""
export WINEPREFIX="$work/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  return 0
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display_file="$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$display_file")"
  echo "=== Xvfb on display $DISPLAY"
fi

win() { printf 'Z:%s' "$(echo "$1" | sed 's#/#\\#g')"; }

# The program folder as a user has it, and a data folder that UserPath.dat names.
mkdir -p "$work/program" "$work/data"
cp -r "$build/win32/program/." "$work/program/"
printf '%s\\\r\n' "$(win "$work/data")" >"$work/program/UserPath.dat"

echo "=== Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w

mon="$build/win32/tools/monitor/korvalmon.exe"
probe="$build/win32/tools/probe/korvalprobe.exe"
log="$work/monitor.log"
wine "$mon" /data "$(win "$work/data")\\" /scenario "$(win "$scenario")" /log "$(win "$log")" &
for _ in $(seq 100); do grep -q "step at 0" "$log" 2>/dev/null && break; sleep 0.1; done
(cd "$work/program" && exec wine statuspanel.exe) &
panel=$!
for _ in $(seq 150); do wine "$probe" texts TnKORVALmain >/dev/null 2>&1 && break; sleep 0.2; done

if [ -z "$shots" ]; then
  echo "=== statuspanel is running on $DISPLAY; the scenario repeats until you close the panel"
  wait "$panel" || true
  exit 0
fi

mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
echo "=== one pass of the scenario, screenshots into $shots"
rm -f "$shots"/*.png
# Each "at N" step followed by "# shot NAME": wait for the monitor to play the step, let two ticks show it.
awk '/^at /{at=$2} /^# shot /{print at, $3}' "$scenario" | while read -r at name; do
  for _ in $(seq 300); do grep -q "^step at $at\b" "$log" 2>/dev/null && break; sleep 0.1; done
  sleep 1.5
  wine "$probe" shot TnKORVALmain "$(win "$shots/$name.png")"
  echo "  $name.png"
done
count=$(ls "$shots"/*.png 2>/dev/null | wc -l)
echo "=== $count screenshots in $shots"
[ "$count" -gt 0 ]
