#!/usr/bin/env bash
# Cross-builds a static library for Windows from Debian's own source package with its CMake
# build, into build-deps/<arch>/ (never committed); does nothing when it is there already.
# Usage: build-mingw-library.sh ARCH SOURCE-PACKAGE NAME [CMAKE-OPTIONS...]
#   ARCH x86_64 or i686; NAME the library (build-deps/<arch>/lib/lib<NAME>.a).
set -euo pipefail
arch="$1"
package="$2"
name="$3"
shift 3
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$root/build-deps/$arch"
[ -f "$prefix/lib/lib$name.a" ] && exit 0

source="$root/build-deps/src/$name"
bash "$root/cmake/debian-source.sh" "$package" "$source"

build="$root/build-deps/build-$name-$arch"
cmake -S "$source" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64.cmake" -DTARSYN7_WINDOWS_ARCH="$arch" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cmake --install "$build" >/dev/null
echo "lib$name for $arch in $prefix"
