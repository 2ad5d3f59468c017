#!/usr/bin/env bash
# Cross-builds static libsndfile for Windows from Debian's own source package, into
# build-deps/<arch>/ (never committed). Debian has no FLAC, Ogg or MPEG libraries for
# mingw, so this one writes WAV and the other built-in formats, not FLAC.
# Usage: build-libsndfile-mingw.sh x86_64|i686
set -euo pipefail
arch="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$root/build-deps/$arch"
[ -f "$prefix/lib/libsndfile.a" ] && exit 0

source="$root/build-deps/src/libsndfile"
bash "$root/cmake/debian-source.sh" libsndfile "$source"

build="$root/build-deps/build-libsndfile-$arch"
cmake -S "$source" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64.cmake" -DTARSYN7_WINDOWS_ARCH="$arch" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
  -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
  -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF -Wno-deprecated >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cmake --install "$build" >/dev/null
echo "libsndfile for $arch in $prefix"
