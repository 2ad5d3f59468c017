#!/usr/bin/env bash
# Static zlib-linked libpng for Windows, from Debian's source package.
# Usage: build-libpng-mingw.sh x86_64|i686
set -euo pipefail
arch="$1"
bash "$(dirname "$0")/build-mingw-library.sh" "$arch" libpng1.6 png \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
  -DZLIB_LIBRARY="/usr/$arch-w64-mingw32/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$arch-w64-mingw32/include"
