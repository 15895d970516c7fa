#!/usr/bin/env bash
# The language table (resources/lang-src/languages.tsv: one row per language, its columns named in its header)
# for the scripts. Sourced, it defines:
#
#   korval_languages COLUMN      the column's fields, one line per language in index order
#   korval_language N COLUMN     the field of language N; fails when N is no index of the table
#
# A field "-" (none) prints as an empty line.

korval_language_table="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/resources/lang-src/languages.tsv"

korval_languages() {
  awk -F'\t' -v column="$1" -v want="${2-}" '
    /^#/ || NF == 0 { next }
    !at {
      for (i = 1; i <= NF; i++) if ($i == column) at = i
      if (!at) { print "languages.sh: no column " column > "/dev/stderr"; bad = 1; exit }
      next
    }
    want == "" || $1 == want { print ($at == "-" ? "" : $at); found = 1 }
    END { exit bad ? 2 : !found }' "$korval_language_table"
}

korval_language() {
  case "${1-}" in '' | *[!0-9]* | 0?*) return 1 ;; esac
  korval_languages "$2" "$1"
}
