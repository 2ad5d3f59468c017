#!/usr/bin/env bash
# Cross-builds the Windows plug-ins with Debian's mingw-w64 compilers:
#   build-win64/Tarsyn764.dll (64-bit hosts) and build-win32/Tarsyn7.dll (32-bit hosts),
# and the renderer build-win64/tarsyn7-render.exe beside the 64-bit one. A 32-bit renderer
# costs another libsndfile build; after `bash cmake/build-libsndfile-mingw.sh i686` this
# script makes build-win32/tarsyn7-render.exe too.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev cmake make dpkg-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if ((${#missing[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

for arch in x86_64 i686; do
  bash cmake/build-libpng-mingw.sh "$arch"
  [ "$arch" = x86_64 ] && bash cmake/build-libsndfile-mingw.sh "$arch"
  folder=build-win64
  [ "$arch" = i686 ] && folder=build-win32
  cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64.cmake \
    -DTARSYN7_WINDOWS_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release -DTARSYN7_WERROR=ON \
    -DTARSYN7_TESTS=OFF -DTARSYN7_BENCH=OFF >/dev/null
  cmake --build "$folder" -j"$(nproc)"
done
echo "Built: build-win64/Tarsyn764.dll build-win64/tarsyn7-render.exe build-win32/Tarsyn7.dll"
