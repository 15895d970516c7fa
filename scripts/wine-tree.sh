# Sourced by the scripts that run the programs under Wine: `korval_wine_tree` prints the build tree whose
# programs this machine can run. The suite ships 32-bit programs (build/win32), and that is what runs wherever
# the machine runs 32-bit code. Some virtual machines have no 32-bit mode at all (every 32-bit program, Wine's
# own loader included, fails with "Exec format error"); there the same sources are built for 64-bit Windows
# (build/win64, the preset win64) and run under 64-bit Wine, so that every test still runs the real programs.
korval_wine_tree() {
  if [ -n "${KORVAL_WINE_TREE:-}" ]; then
    echo "$KORVAL_WINE_TREE"
  elif [ ! -x /usr/lib/wine/wine64 ] || /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}
