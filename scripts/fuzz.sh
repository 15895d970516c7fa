#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, with the libraries they reach instrumented, and runs each for a
# while: FUZZ_SECONDS seconds a target (default 5, so that all of them take about a minute), and at most
# FUZZ_RUNS inputs when that is set. Prints each target's coverage (edges) and runs; a crash, a leak or a
# failed check in any target fails the script, with the input kept in the fuzz build folder. Every target
# starts from its seeds in tests/fuzz/seeds (and from the suite's own pictures and language files where they
# fit) and keeps what it found in the build folder for the next run. KORVAL_BUILD names the build folder as
# for scripts/test.sh.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVAL_BUILD:-build}
case "$build" in /*) ;; *) build="$here/$build" ;; esac
fuzz="$build/fuzz"
seconds=${FUZZ_SECONDS:-5}
targets=(settings_fuzz language_fuzz datetime_fuzz eventlog_fuzz record_fuzz bmp_fuzz jpeg_fuzz userpath_fuzz
  shutter_args_fuzz)

cmake -S "$here" -B "$fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVAL_FUZZ=ON >/dev/null || exit 1
cmake --build "$fuzz" -j 4 --target "${targets[@]}" >"$fuzz/build.log" 2>&1 || { tail -n 40 "$fuzz/build.log"; exit 1; }

# Seeds that the repository holds anyway.
extra_seeds() {
  case "$1" in
    jpeg_fuzz) ls "$here"/resources/art/*.jpg ;;
    bmp_fuzz) ls "$here"/resources/art/BitBtn1.bmp "$here"/resources/art/Image24.bmp ;;
    language_fuzz) ls "$here"/resources/lang/English.txt "$here"/resources/lang/Korean.txt ;;
  esac
}

status=0
printf '%-18s %8s %10s %8s\n' target edges runs seconds
for t in "${targets[@]}"; do
  corpus="$fuzz/corpus/$t"
  seeds="$fuzz/seeds/$t"
  mkdir -p "$corpus" "$seeds"
  [ -d "$here/tests/fuzz/seeds/$t" ] && cp "$here/tests/fuzz/seeds/$t"/* "$seeds/"
  for f in $(extra_seeds "$t"); do cp "$f" "$seeds/"; done
  limit=()
  [ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
  log="$fuzz/$t.log"
  "$fuzz/tests/fuzz/$t" -max_total_time="$seconds" "${limit[@]}" -max_len=4096 -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$fuzz/$t-" "$corpus" "$seeds" >"$log" 2>&1
  rc=$?
  edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  runs=$(grep -oE '^stat::number_of_executed_units: [0-9]+' "$log" | cut -d' ' -f2)
  took=$(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$log" | grep -oE '[0-9]+ second' | cut -d' ' -f1)
  printf '%-18s %8s %10s %8s\n' "$t" "${edges:-?}" "${runs:-?}" "${took:-?}"
  if [ "$rc" -ne 0 ]; then
    echo "$t failed (exit $rc); the input that did it is under $fuzz/$t-*:"
    grep -E 'ERROR|SUMMARY|deadly|runtime error|Test unit written' "$log" | head -n 20
    status=1
  fi
done
exit $status
