#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and those a caller names as
# arguments (tools/try-in-ardour.sh: Ardour); does nothing when they are there.
set -euo pipefail

# clang and its runtime libraries build the chunk fuzzer (libFuzzer).
packages=(cmake make g++ pkg-config libgtest-dev libbenchmark-dev zlib1g-dev libpng-dev clang
  libclang-rt-dev)
# libsndfile writes the renderer's audio files; amsynth is a second instrument its tests play.
packages+=(libsndfile1-dev amsynth)
# The drawing library: stb's font rasteriser, the DejaVu fonts it embeds, and Debian's
# libpng source (fetched with dpkg-dev) built into the plug-in.
packages+=(libstb-dev fonts-dejavu-core dpkg-dev)
# The editor's X11 window is tested on an Xvfb server, clicked with XTest.
packages+=(xvfb libx11-dev libxtst-dev)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# A host running in a German locale (decimal comma) is what the locale tests play.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  dpkg -s locales >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq locales
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
