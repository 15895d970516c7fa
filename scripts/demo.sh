#!/usr/bin/env bash
# The status panel on a simulated unit: builds the win32 programs, lays out a program folder and a data folder,
# starts the simulated monitor with scenarios/unit-states.txt (on line, power failure, low battery, boost,
# buck, overload, bad battery, self-test, no data) and shows statuspanel.exe on it under Wine. The program
# folder holds the suite's eventbook.exe and stand-ins for the other sibling programs (tools/siblings), so
# that every toolbar button brings up a window that names its program; File > Exit stops the simulated monitor.
#
#   bash scripts/demo.sh                 on the display in $DISPLAY, until the panel is closed
#   bash scripts/demo.sh --pictures      on an Xvfb of its own: the pictures of the README into docs/pictures/,
#                                        statuspanel.png (the status window, menu bar included) and
#                                        password.png (the dialog of Setup > Password)
#   bash scripts/demo.sh --shots DIR     one pass of the scenario, a screenshot of each state into DIR, and
#                                        window.png: the whole window of the first state, menu bar included
#   bash scripts/demo.sh --language N    in language N (0 English ... 11 Russian, the index of the language
#                                        table, resources/lang-src/languages.tsv): `Language` in KORVAL.ini,
#                                        and Wine in that language's locale, so that the system's code page is
#                                        the file's own (932 for Japanese)
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
pictures=""
language=""
. "$here/scripts/languages.sh"
last_language=$(($(korval_languages index | wc -l) - 1))
while [ $# -gt 0 ]; do
  case "$1" in
    --shots) shots=${2:?--shots needs a folder}; shift 2 ;;
    --language) language=${2:?--language needs an index 0..$last_language}; shift 2 ;;
    --pictures) pictures="$here/docs/pictures"; shift ;;
    *) echo "usage: bash scripts/demo.sh [--shots DIR | --pictures] [--language N]" >&2; exit 2 ;;
  esac
done
if [ -n "$language" ]; then
  # The locale of the language, as a user of that language has it (scripts/install.sh generates them).
  locale=$(korval_language "$language" locale) || { echo "--language: an index 0..$last_language" >&2; exit 2; }
  locale="$locale.UTF-8"
  export LANG="$locale" LC_ALL="$locale"
  unset LANGUAGE
  echo "=== language $language, locale $locale"
fi
[ -z "${DISPLAY:-}" ] && [ -z "$shots" ] && [ -z "$pictures" ] && shots="$build/demo-shots"

. "$here/scripts/wine-tree.sh"
tree=$(korval_wine_tree)
echo "=== building the $tree programs in $build/$tree"
cmake --preset "$tree" -B "$build/$tree" >/dev/null
cmake --build "$build/$tree" --target statuspanel eventbook sibling_standin korvalmon korvalprobe korval_program_files \
  -j "$(nproc 2>/dev/null || echo 4)"

work=$(mktemp -d)
. "$here/scripts/display.sh"
export WINEPREFIX="$work/wineprefix" WINEARCH=$tree WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  return 0
}
trap cleanup EXIT

# The pictures are taken on a screen of their own, with nothing else on it.
[ -n "$pictures" ] && unset DISPLAY
korval_display 1024x768
[ -n "$xvfb_pid" ] && echo "=== Xvfb on display $DISPLAY"

win() { printf 'Z:%s' "$(echo "$1" | sed 's#/#\\#g')"; }

# The program folder as a user has it (the programs, the sibling stand-ins, the language files and Help), and
# a data folder that UserPath.dat names.
mkdir -p "$work/program" "$work/data"
cp -r "$build/$tree/program/." "$work/program/"
printf '%s\\\r\n' "$(win "$work/data")" >"$work/program/UserPath.dat"
if [ -n "$language" ]; then printf '[Main]\r\nLanguage=%s\r\n' "$language" >"$work/data/KORVAL.ini"; fi

echo "=== Wine prefix"
# The prefix as the programs expect it: stand-ins for the fonts the window layouts name, the language's locale.
. "$here/scripts/wine-env.sh" "$work/wineprefix" ${language:+"$language"}

mon="$build/$tree/tools/monitor/korvalmon.exe"
probe="$build/$tree/tools/probe/korvalprobe.exe"
log="$work/monitor.log"
wine "$mon" /data "$(win "$work/data")\\" /scenario "$(win "$scenario")" /log "$(win "$log")" &
for _ in $(seq 100); do grep -q "step at 0" "$log" 2>/dev/null && break; sleep 0.1; done
(cd "$work/program" && exec wine statuspanel.exe) &
panel=$!
wine "$probe" wait TnKORVALmain 30000 || echo "=== the status window did not show" >&2

# The window as the X server shows it: the client area with the menu bar above it; false when it is not there.
window_picture() {
  local geometry
  geometry=$(xwininfo -root -tree | awk '/"KORVAL Plus for Windows/ {
    for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$/) { print $i; exit } }')
  [ -n "$geometry" ] && import -window root -crop "$geometry" +repage "$1"
}

if [ -n "$pictures" ]; then
  mkdir -p "$pictures"
  echo "=== the pictures of the README into $pictures"
  for _ in $(seq 100); do grep -q "^step at 0\b" "$log" 2>/dev/null && break; sleep 0.1; done
  sleep 2
  if ! window_picture "$pictures/statuspanel.png"; then
    wine "$probe" shot TnKORVALmain "$(win "$pictures/statuspanel.png")"
  fi
  echo "  statuspanel.png"
  # Setup > Password: the sixth item of the second menu while the unit's type offers UPS Setup.
  wine "$probe" menu TnKORVALmain 1 5 || true
  if wine "$probe" wait TnPassfunction 5000; then
    sleep 0.5
    wine "$probe" shot TnPassfunction "$(win "$pictures/password.png")"
    # The probe stores its pictures uncompressed.
    command -v convert >/dev/null && convert "$pictures/password.png" "$pictures/password.png"
    echo "  password.png"
  else
    echo "  note: the password dialog (Setup > Password) did not show: no picture of it"
  fi
  exit 0
fi

if [ -z "$shots" ]; then
  echo "=== statuspanel is running on $DISPLAY; the scenario repeats until you close the panel"
  echo "    toolbar buttons and the Setup and View menus: each brings up its program (eventbook, or a stand-in"
  echo "    window that names itself); File > Exit asks, then stops the simulated monitor and closes them"
  wait "$panel" || true
  if grep -q "message 1046 99 99" "$log" 2>/dev/null; then
    echo "=== the simulated monitor was told to stop"
  else
    echo "=== the simulated monitor was not told to stop (only File > Exit does that)"
  fi
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
  if [ ! -f "$shots/window.png" ] && window_picture "$shots/window.png"; then
    echo "  window.png"  # once: the whole window of the first state
  fi
done
count=$(ls "$shots"/[0-9]*.png 2>/dev/null | wc -l)
echo "=== $count screenshots in $shots"
[ "$count" -gt 0 ]
