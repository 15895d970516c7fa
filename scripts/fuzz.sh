#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a number of inputs (default 20000; FUZZ_RUNS sets
# it). KORVAL_BUILD names the build folder as for scripts/test.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVAL_BUILD:-build}
case "$build" in /*) ;; *) build="$here/$build" ;; esac
runs=${FUZZ_RUNS:-20000}
cmake -S "$here" -B "$build/fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVAL_FUZZ=ON >/dev/null
cmake --build "$build/fuzz" --target settings_fuzz language_fuzz datetime_fuzz eventlog_fuzz
for t in settings_fuzz language_fuzz datetime_fuzz eventlog_fuzz; do
  mkdir -p "$build/fuzz/corpus/$t"
  "$build/fuzz/tests/fuzz/$t" -runs="$runs" -max_len=4096 -artifact_prefix="$build/fuzz/" "$build/fuzz/corpus/$t" 2>&1 | tail -n 1
done
