#!/usr/bin/env bash
# Prepares a Wine prefix as the suite's programs expect a Windows desktop to be, and sets the environment that
# every later `wine` call needs. Sourced, in one line:
#
#   . scripts/wine-env.sh DIR              the prefix in DIR, in the locale already set (LC_ALL, LC_CTYPE, LANG)
#   . scripts/wine-env.sh DIR N            the prefix in DIR, in the locale of language N (0 English ... 11
#                                          Russian, the index of the language table, resources/lang-src/
#                                          languages.tsv), so that the system's code page is that language
#                                          file's own (932 for Japanese)
#
# It exports WINEPREFIX (DIR made absolute), WINEARCH, WINEDEBUG, WINEDLLOVERRIDES and KORVAL_WINE_TREE (the
# build tree whose programs run here: win32, or win64 on a machine without 32-bit mode, see
# scripts/wine-tree.sh), and with N also LANG and LC_ALL; it makes the prefix (or brings an existing one up to
# date), and names a Debian font for each font that the window layouts ask for by name. For win64 the prefix is
# a 64-bit one and a `wine` that starts 64-bit Wine's loader goes first on PATH (folder DIR-loader). Run as a
# command (`bash scripts/wine-env.sh DIR [N]`) it does the same and prints the variables, for a shell that runs
# `wine` by hand: eval "$(bash scripts/wine-env.sh DIR)". A DISPLAY is not needed. Returns non-zero when Wine
# cannot make the prefix or a stand-in font is missing (scripts/install.sh installs them).

korval_wine_env() {
  local prefix=${1:-} language=${2:-}
  . "$(dirname "${BASH_SOURCE[0]}")/languages.sh" || return 1
  # The locale of each language index, as a user of that language has it (scripts/install.sh generates them).
  local locales=()
  mapfile -t locales < <(korval_languages locale)
  if [ -z "$prefix" ]; then
    echo "usage: . scripts/wine-env.sh DIR [LANGUAGE 0..$((${#locales[@]} - 1))]" >&2
    return 2
  fi
  case "$prefix" in /*) ;; *) prefix="$PWD/$prefix" ;; esac

  if [ -n "$language" ]; then
    if ! korval_language "$language" index >/dev/null; then
      echo "wine-env: a language index 0..$((${#locales[@]} - 1)), not '$language'" >&2
      return 2
    fi
    export LANG="${locales[$language]}.UTF-8" LC_ALL="${locales[$language]}.UTF-8"
    unset LANGUAGE
  else
    # The language that the locale in effect stands for: Wine takes its code page from that locale.
    local current=${LC_ALL:-${LC_CTYPE:-${LANG:-}}} i
    language=0
    for i in "${!locales[@]}"; do
      [ "${current:0:5}" = "${locales[$i]}" ] && language=$i
    done
  fi

  . "$(dirname "${BASH_SOURCE[0]}")/wine-tree.sh"
  export KORVAL_WINE_TREE
  KORVAL_WINE_TREE=$(korval_wine_tree)
  export WINEPREFIX="$prefix" WINEARCH=$KORVAL_WINE_TREE WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$KORVAL_WINE_TREE" = win64 ]; then
    # Debian's `wine` takes the 32-bit loader whenever it is installed; here that loader cannot start.
    local loader="${prefix%/}-loader"
    mkdir -p "$loader" || return 1
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$loader/wine"
    cp "$loader/wine" "$loader/wine-stable"
    chmod +x "$loader/wine" "$loader/wine-stable"
    case ":$PATH:" in *":$loader:"*) ;; *) export PATH="$loader:$PATH" ;; esac
  fi
  mkdir -p "$WINEPREFIX" || return 1
  wineboot -i >/dev/null 2>&1
  wineserver -w
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: wineboot made no prefix in $WINEPREFIX" >&2
    return 1
  fi

  # The layouts name the fonts of a Windows desktop; Wine has none of them and would take the first font of
  # the code page for each, whose glyphs are wider or taller than the boxes were laid out for, so captions are
  # cut, or one without the language's letters, which shows boxes. Each gets a stand-in that has the letters
  # of the locale's language and widths and heights close to the named one: in the Western and Cyrillic code
  # pages the Liberation fonts (the widths of Arial and Times New Roman); for Thai FreeSerif, whose Thai
  # letters stand on a baseline as high as the system's Thai faces (the tall Thai faces of TLWG push their
  # letters under a 13- or 15-pixel title's edge); for Chinese AR PL UMing, a Ming face of PMingLiU's heights;
  # for Korean NanumBarunGothic and for Japanese IPAPGothic, faces whose ascent is that of the system's faces;
  # "Dotum", which the Russian texts ask for, is UnDotum, a Dotum of the same widths with Cyrillic letters.
  # The faces that Wine's own menus, message boxes and dialogs use in the East Asian locales ("MS Shell Dlg"
  # stands for PMingLiU, SimSun, MS UI Gothic or Gulim there) get a normal-weight face of the script: without
  # it Wine takes a thin Ming face or the first Hangul face, which makes enabled menu items look disabled.
  # The language table names these faces per language (columns sans, serif, uifont and uifaces).
  local sans serif ui faces system=()
  sans=$(korval_language "$language" sans) && serif=$(korval_language "$language" serif) &&
    ui=$(korval_language "$language" uifont) && faces=$(korval_language "$language" uifaces) || return 1
  if [ -n "$ui" ]; then IFS=, read -ra system <<<"$faces"; fi
  local replacements=(
    "MS Sans Serif" "$sans"
    "MS UI Gothic" "$sans"
    "MS PMincho" "$serif"
    "Dotum" "UnDotum"
    "MS Serif" "Liberation Serif"
    "Times New Roman" "Liberation Serif"
    "Trebuchet MS" "DejaVu Sans"
  )
  local face
  for face in "${system[@]}"; do replacements+=("$face" "$ui"); done
  # Wine draws the buttons of its own title bars with Marlett's symbols; fonts-wine has it, where this Wine
  # does not look, so the prefix's font folder gets it.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  if [ ! -f "$marlett" ]; then
    echo "wine-env: $marlett is not installed (fonts-wine)" >&2
    return 1
  fi
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" && cp -f "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  local reg="$WINEPREFIX/korval-fonts.reg" n
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for ((n = 0; n < ${#replacements[@]}; n += 2)); do
      if ! fc-list -q ":family=${replacements[n + 1]}"; then
        echo "wine-env: font '${replacements[n + 1]}' (for '${replacements[n]}') is not installed" >&2
        return 1
      fi
      printf '"%s"="%s"\r\n' "${replacements[n]}" "${replacements[n + 1]}"
    done
    # The layouts are in pixels at 96 dots per inch.
    printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:00000060\r\n'
  } >"$reg" || return 1
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
  wineserver -w
  rm -f "$reg"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -u
  korval_wine_env "$@" || exit $?
  for v in WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES KORVAL_WINE_TREE PATH LANG LC_ALL; do
    [ -n "${!v:-}" ] && printf 'export %s=%q\n' "$v" "${!v}"
  done
  exit 0
fi
korval_wine_env "$@"
korval_wine_env_status=$?
unset -f korval_wine_env
return $korval_wine_env_status
