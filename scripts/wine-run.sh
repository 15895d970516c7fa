#!/usr/bin/env bash
# Runs a win32 program under Wine for CTest. scripts/test.sh sets up the prefix and the display; run by hand,
# this falls back to the build's own prefix.
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-tree.sh"
export WINEPREFIX=${WINEPREFIX:-$here/${KORVAL_BUILD:-build}/$(korval_wine_tree)/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
