#!/usr/bin/env bash
# Cross-builds zlib-linked static libpng for Windows from Debian's own source package,
# into build-deps/<arch>/ (never committed). Usage: build-libpng-mingw.sh x86_64|i686
set -euo pipefail
arch="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$root/build-deps/$arch"
[ -f "$prefix/lib/libpng.a" ] && exit 0

# Debian's source archive, next to the binary one the machine already uses.
if ! apt-get source --print-uris libpng1.6 >/dev/null 2>&1; then
  sources=/etc/apt/sources.list.d/tarsyn7-deb-src.sources
  sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources |
    sed 's/^Types: deb$/Types: deb-src/' >"$sources"
  apt-get update -qq
fi

work="$root/build-deps/src"
mkdir -p "$work"
if [ ! -d "$work/libpng" ]; then
  # Newest version first; a mirror may lack the newest security update's files.
  for version in $(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -rV); do
    if (cd "$work" && apt-get source -qq "libpng1.6=$version" >/dev/null 2>&1); then break; fi
  done
  mv "$work"/libpng1.6-*/ "$work/libpng"
fi

build="$root/build-deps/build-libpng-$arch"
cmake -S "$work/libpng" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
  -DZLIB_LIBRARY="/usr/$arch-w64-mingw32/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$arch-w64-mingw32/include" \
  >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cmake --install "$build" >/dev/null
echo "libpng for $arch in $prefix"
