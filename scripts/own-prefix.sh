# Sourced by the test scripts that run beside the others: `korval_own_prefix [LANGUAGE_INDEX]` makes a work
# folder ($work), an X display and a Wine prefix ($work/prefix, see scripts/wine-env.sh) of their own, and
# when the script exits ends the prefix's wineserver and removes all three.
. "$(dirname "${BASH_SOURCE[0]}")/display.sh"

korval_own_prefix_cleanup() {
  if [ -d "$work/prefix" ]; then
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$work/prefix" wineserver -w >/dev/null 2>&1
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  return 0
}

korval_own_prefix() {
  work=$(mktemp -d)
  trap korval_own_prefix_cleanup EXIT
  unset WINEPREFIX DISPLAY
  korval_display 1280x1024
  . "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$work/prefix" "$@"
}
