#!/usr/bin/env bash
# Tries the Linux plug-in in a real host. Installs Ardour 7 (Debian's package, with the X
# tools the check drives it with) when it is missing, as root or else through sudo; builds
# the plug-in and the renderer into build-test/; then runs both Ardour checks: the headless
# session (tests/host/ardour/check-in-ardour.sh) and the editor in Ardour's own window under
# Xvfb (tests/host/ardour/editor-in-ardour.sh), which leaves a capture of the screen with the
# editor open in out/ardour-editor.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh ardour x11-utils xdotool imagemagick
if [ ! -f build-test/CMakeCache.txt ]; then
  cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DTARSYN7_WERROR=ON
fi
cmake --build build-test -j"$(nproc)" --target tarsyn7_plugin tarsyn7-render

mkdir -p out
bash tests/host/ardour/check-in-ardour.sh build-test/Tarsyn764.so
bash tests/host/ardour/editor-in-ardour.sh build-test/Tarsyn764.so build-test/tarsyn7-render \
  out/ardour-editor.png
