#!/usr/bin/env bash
# The whole-caption checks once more in the locale of one language, in a Wine prefix prepared for it: the
# stand-in fonts that scripts/wine-env.sh names depend on the language, so each gets a prefix of its own.
#
#   bash languages_e2e.sh N TEST.exe FILTER [TEST.exe FILTER ...]
#
# N is a language index (its locale and code page); each test program runs with --gtest_filter=FILTER.
set -u
language=$1
shift
here=$(cd "$(dirname "$0")/../.." && pwd)
# A prefix and an X display of its own: the run needs no other test's and can go beside them.
. "$here/scripts/own-prefix.sh"
korval_own_prefix "$language" || exit 1
status=0
while [ $# -ge 2 ]; do
  echo "=== $(basename "$1") in language $language ($LC_ALL)"
  wine "$1" --gtest_filter="$2" || status=1
  shift 2
done
exit $status
