#!/usr/bin/env bash
# Cross-builds zlib-linked static libpng for Windows from Debian's own source package,
# into build-deps/<arch>/ (never committed). Usage: build-libpng-mingw.sh x86_64|i686
set -euo pipefail
arch="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$root/build-deps/$arch"
[ -f "$prefix/lib/libpng.a" ] && exit 0

source="$root/build-deps/src/libpng"
bash "$root/cmake/debian-source.sh" libpng1.6 "$source"

build="$root/build-deps/build-libpng-$arch"
cmake -S "$source" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64.cmake" -DTARSYN7_WINDOWS_ARCH="$arch" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
  -DZLIB_LIBRARY="/usr/$arch-w64-mingw32/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$arch-w64-mingw32/include" \
  >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cmake --install "$build" >/dev/null
echo "libpng for $arch in $prefix"
