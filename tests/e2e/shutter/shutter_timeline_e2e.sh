#!/usr/bin/env bash
# The shutdown agent's full run against the fixture applications:
#
#   shutter_timeline_e2e.sh <shutter.exe> <fixtureapp.exe>
#
# "shutter.exe /CallByKorval" ends with a system shutdown, which under Wine may end every process of its
# prefix. So everything runs in a Wine prefix of its own, made here and removed at the end with its
# wineserver, and this driver sits outside Wine and only reads files: the fixtures' logs and the saved
# documents. The prefix uses a virtual desktop, so that windows go at once without a window manager.
#
# Started in this order, the fixtures stand in the z-order (top first): panel, richedit, edit, ignore,
# hung. The three with unsaved work must end saved under save\save01..03 beside the program and closed;
# the one that ignores WM_CLOSE must be asked again after being met twice and forgotten (the 2 s pause);
# the hung one, met for the rest of the close phase, must not stop the timeline; the program must end
# with exit code 0 after its 101 ticks.
#
# Then a second power failure in the same program folder: the documents of the first run stay as they
# were, the new ones go under names of their own, and a text editor whose modeless find box is open is
# reached (its box dismissed), asked to close and saved, as is the application above it.
set -uo pipefail

shutter_exe=$1
fixture_exe=$2

# A prefix and an X display of its own, so that it can run beside the tests of the shared prefix.
. "$(dirname "$0")/../../../scripts/own-prefix.sh"
korval_own_prefix || exit 1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -w

failures=0
check() {  # check <description> <command...>
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}
win() { winepath -w "$1" 2>/dev/null; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The program folder has a blank, so the program name reaches shutter.exe in double quotes.
program="$work/program folder"
mkdir -p "$program" "$work/apps"
cp "$shutter_exe" "$program/shutter.exe"
cp "$fixture_exe" "$work/apps/fixtureapp.exe"

# start_fixture <kind> <log> [options...]: one fixture application, up and showing its window.
start_fixture() {
  local kind=$1 log=$2
  shift 2
  wine "$work/apps/fixtureapp.exe" /kind "$kind" /log "$(win "$log")" "$@" >/dev/null 2>&1 &
  for _ in $(seq 300); do grep -q ' ready' "$log" 2>/dev/null && break; sleep 0.1; done
  check "$kind fixture is up" grep -q ' ready' "$log"
  sleep 0.5
}

# run_shutter <name>: "shutter.exe /CallByKorval" from the program folder; sets code and elapsed.
run_shutter() {
  local start
  start=$(now_ms)
  timeout 300 wine "$program/shutter.exe" /CallByKorval >"$work/$1.out" 2>"$work/$1.err"
  code=$?
  elapsed=$(($(now_ms) - start))
  echo "$1: shutter.exe ran ${elapsed} ms, exit code ${code}"
}

# saved_name <log>: the name under which the fixture saved its document.
saved_name() { sed -n 's/^[0-9]* saved //p' "$1" | tr -d '\r'; }

kinds="hung ignore edit richedit panel"
for kind in $kinds; do start_fixture "$kind" "$work/$kind.log"; done
run_shutter shutter

check "shutter.exe ends with exit code 0" test "$code" -eq 0
check "the run lasts at least 101 ticks of 100 ms" test "$elapsed" -ge 10100
check "the hung application does not hold the run (under 150 s)" test "$elapsed" -lt 150000

# Saved documents: one for each application with unsaved work, numbered from 01, in save\ beside the program.
saved=$(cd "$program/save" 2>/dev/null && ls | sort | tr '\n' ' ')
check "save\\ holds save01 save02 save03 (found: $saved)" test "$saved" = "save01 save02 save03 "
for kind in edit richedit panel; do
  log="$work/$kind.log"
  name=$(saved_name "$log")
  file=${name##*\\}
  check "$kind was told a name in save\\ beside the program ($name)" \
    test "$name" = "$(win "$program")\\save\\$file"
  check "$kind saved its document there" \
    test "$(cat "$program/save/$file" 2>/dev/null)" = "$(printf 'document of %s\r' "$kind")"
  check "$kind closed" grep -q ' end' "$log"
done
check "edit answered its question with Yes" grep -q ' question yes' "$work/edit.log"
check "the panel field was cleared with 80 backspaces first" grep -q ' panel backspaces 80 ' "$work/panel.log"

# The application that ignores WM_CLOSE: asked, met again twice, forgotten after 2 s, asked again.
mapfile -t closes < <(sed -n 's/^\([0-9]*\) close [0-9]*\r\?$/\1/p' "$work/ignore.log")
check "ignore was asked to close three times" test "${#closes[@]}" -eq 3
for i in 1 2; do
  if [ "${#closes[@]}" -gt "$i" ]; then
    gap=$((closes[i] - closes[i - 1]))
    check "ignore asked again after two ticks and the 2 s pause (${gap} ms)" \
      test "$gap" -ge 2300 -a "$gap" -lt 8000
  fi
done
check "ignore closed on the third request" grep -q ' end' "$work/ignore.log"
check "hung received nothing after it stopped" test "$(grep -vc ' ready' "$work/hung.log")" -eq 0

# ---- The second power failure, in the same program folder. The hung application of the first run goes
# with every other process of the prefix.
declare -A kept
for f in "$program"/save/*; do [ -f "$f" ] && kept[$(basename "$f")]=$(cat "$f"); done
wineserver -k >/dev/null 2>&1
wineserver -w
start_fixture find "$work/second-find.log" /text "second run: find"
start_fixture edit "$work/second-edit.log" /text "second run: edit"
run_shutter second
check "the second run ends with exit code 0" test "$code" -eq 0

for file in "${!kept[@]}"; do
  check "$file of the first run is kept as it was" test "$(cat "$program/save/$file" 2>/dev/null)" = "${kept[$file]}"
done
for kind in edit find; do
  log="$work/second-$kind.log"
  name=$(saved_name "$log")
  file=${name##*\\}
  check "$kind (second run) saved in save\\ beside the program ($name)" \
    test -n "$file" -a "$name" = "$(win "$program")\\save\\$file"
  check "$kind (second run) got a name no document lay under ($file)" test -z "${kept[${file:-none}]+taken}"
  check "$kind (second run) saved its document there" \
    test "$(cat "$program/save/$file" 2>/dev/null)" = "$(printf 'second run: %s\r' "$kind")"
  check "$kind (second run) closed" grep -q ' end' "$log"
done
check "the find box was dismissed" grep -q ' find box closed' "$work/second-find.log"
check "find answered its question with Yes" grep -q ' question yes' "$work/second-find.log"

if [ "$failures" -ne 0 ]; then
  for f in "$work"/*.log "$work"/*.err; do
    echo "--- $(basename "$f")"
    cat "$f"
  done
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
