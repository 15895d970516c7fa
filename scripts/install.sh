#!/usr/bin/env bash
# Takes a fresh Debian 12 machine (as root) to a state where scripts/test.sh can build and run everything:
# the packages, then GoogleTest and libjpeg-turbo cross-built for the win32 build into $KORVAL_DEPS and for the
# win64 build (machines without 32-bit mode, scripts/wine-tree.sh) into $KORVAL_DEPS64.
# Idempotent: every step checks whether its result is already there.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
DEPS=${KORVAL_DEPS:-/opt/korval-win32}
DEPS64=${KORVAL_DEPS64:-/opt/korval-win64}
export DEBIAN_FRONTEND=noninteractive

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev
  mingw-w64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine32:i386 wine64 xvfb x11-utils xauth imagemagick
  libgtest-dev googletest libjpeg-dev
  locales fonts-wqy-zenhei fonts-wqy-microhei fonts-thai-tlwg fonts-freefont-ttf fonts-unfonts-core fonts-nanum
  fonts-dejavu-core fonts-ipafont-gothic
  fonts-arphic-uming fonts-liberation fonts-wine fontconfig
  clang libclang-rt-14-dev
  python3 xsltproc
)

need_apt=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_apt=1
fi

# A deb-src entry for the archive this machine already uses, so that `apt-get source` works.
src_list=/etc/apt/sources.list.d/korval-deb-src.sources
if [ ! -f "$src_list" ]; then
  tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    [ "$f" = "$src_list" ] && continue
    # Keep only stanzas of Debian's own archives, turned into deb-src stanzas.
    awk 'BEGIN{RS=""; ORS="\n\n"} /URIs:[^\n]*debian/ && /Types:[^\n]*deb/ {
           gsub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >>"$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb [^#]*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"$tmp.list" || true
    if [ -s "$tmp.list" ]; then as_root cp "$tmp.list" /etc/apt/sources.list.d/korval-deb-src.list; fi
    rm -f "$tmp.list"
  fi
  if [ -s "$tmp" ]; then as_root cp "$tmp" "$src_list"; else as_root touch "$src_list"; fi
  rm -f "$tmp"
  need_apt=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ $need_apt -eq 1 ]; then
  as_root apt-get update
fi
if [ ${#missing[@]} -gt 0 ]; then
  as_root apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Locales used by the language tests (double-byte and other ANSI code pages): each language's UTF-8 locale and
# the one in its own charset, from the language table.
. "$here/scripts/languages.sh"
locales_wanted=()
while read -r l; do locales_wanted+=("$l.UTF-8 UTF-8"); done < <(korval_languages locale)
while read -r l; do if [ -n "$l" ]; then locales_wanted+=("$l"); fi; done < <(korval_languages extralocale)
regen=0
for l in "${locales_wanted[@]}"; do
  if ! grep -qxF "$l" /etc/locale.gen 2>/dev/null; then echo "$l" | as_root tee -a /etc/locale.gen >/dev/null; regen=1; fi
done
[ $regen -eq 1 ] && as_root locale-gen

# GoogleTest and libjpeg-turbo for a Windows build: `cross_deps DIR TOOLCHAIN`. The 32-bit ones go into $DEPS;
# the 64-bit ones, for machines without 32-bit mode (scripts/wine-tree.sh), into $KORVAL_DEPS64.
cross_deps() {
  local deps=$1 toolchain=$2 work=$1/src
  as_root mkdir -p "$deps"
  as_root chown "$(id -u):$(id -g)" "$deps"
  mkdir -p "$work"

  # GoogleTest, from the sources Debian's googletest package installs.
  if [ ! -f "$deps/lib/libgtest.a" ]; then
    rm -rf "$work/gtest-build"
    cmake -S /usr/src/googletest -B "$work/gtest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
    cmake --build "$work/gtest-build"
    cmake --install "$work/gtest-build"
  fi

  # libjpeg-turbo, from Debian's source package.
  if [ ! -f "$deps/lib/libjpeg.a" ]; then
    rm -rf "$work/jpeg"
    mkdir -p "$work/jpeg"
    (cd "$work/jpeg" && apt-get source --download-only libjpeg-turbo >/dev/null && dpkg-source -x ./*.dsc src >/dev/null)
    cmake -S "$work/jpeg/src" -B "$work/jpeg/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_SIMD=0 -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DCMAKE_INSTALL_LIBDIR=lib
    cmake --build "$work/jpeg/build" --target jpeg-static
    mkdir -p "$deps/lib" "$deps/include"
    cp "$work/jpeg/build/libjpeg.a" "$deps/lib/libjpeg.a"
    cp "$work/jpeg/src/jpeglib.h" "$work/jpeg/src/jmorecfg.h" "$work/jpeg/src/jerror.h" \
       "$work/jpeg/build/jconfig.h" "$deps/include/"
  fi
}
cross_deps "$DEPS" "$here/cmake/mingw-i686.cmake"
cross_deps "$DEPS64" "$here/cmake/mingw-x86_64.cmake"

echo "install: ready (Windows dependencies in $DEPS and $DEPS64)"
