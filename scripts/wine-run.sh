#!/usr/bin/env bash
# Runs a win32 program under Wine for CTest. scripts/test.sh sets up the prefix and the display; run by hand,
# this falls back to the build's own prefix.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/${KORVAL_BUILD:-build}/win32/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
