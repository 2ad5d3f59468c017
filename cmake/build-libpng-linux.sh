#!/usr/bin/env bash
# Static libpng for the Linux plug-in, from Debian's source package: position-independent
# so it can live inside the shared object, with its symbols hidden so the plug-in exports
# nothing of it. Installs into PREFIX; does nothing when it is there already.
# Usage: build-libpng-linux.sh PREFIX
set -euo pipefail
prefix="$1"
[ -f "$prefix/lib/libpng16.a" ] && exit 0
root="$(cd "$(dirname "$0")/.." && pwd)"
source="$root/build-deps/src/png"
bash "$root/cmake/debian-source.sh" libpng1.6 "$source"

build="$prefix-build"
cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
  -DCMAKE_C_VISIBILITY_PRESET=hidden -DCMAKE_POLICY_DEFAULT_CMP0063=NEW -DCMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-}" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cmake --install "$build" >/dev/null
echo "static libpng in $prefix"
