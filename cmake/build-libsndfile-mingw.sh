#!/usr/bin/env bash
# Static libsndfile for Windows, from Debian's source package. Debian has no FLAC, Ogg or
# MPEG libraries for mingw, so this one writes WAV and the other built-in formats, not FLAC.
# Usage: build-libsndfile-mingw.sh x86_64|i686
set -euo pipefail
bash "$(dirname "$0")/build-mingw-library.sh" "$1" libsndfile sndfile -DBUILD_SHARED_LIBS=OFF \
  -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
  -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF -Wno-deprecated
