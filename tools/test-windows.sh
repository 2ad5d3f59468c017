#!/usr/bin/env bash
# Builds the Windows plug-ins and runs them under wine: the test host's whole session
# against each DLL, and the same performance rendered by the 64-bit DLL and by the Linux
# build (build-test/), compared sample by sample.
set -euo pipefail
cd "$(dirname "$0")/.."

need=(wine64 wine)
missing=()
for package in "${need[@]}"; do dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package"); done
# 32-bit Windows programs need the i386 half of wine.
if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
if ((${#missing[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

bash tools/build-windows.sh

export WINEDEBUG=-all
prefixes="$(mktemp -d)"
# Wine's server outlives the programs; end it before its folders go.
cleanup() {
  for prefix in "$prefixes"/*/; do WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; done
  rm -rf "$prefixes"
}
trap cleanup EXIT

echo "== 64-bit DLL under wine"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/vsthost.exe \
  build-win64/Tarsyn764.dll

echo "== 32-bit DLL under wine"
if [ -x /usr/lib/wine/wine ] || dpkg -s wine32:i386 >/dev/null 2>&1; then
  WINEPREFIX="$prefixes/32" WINEARCH=win32 wine build-win32/tests/vsthost/vsthost.exe \
    build-win32/Tarsyn7.dll
else
  echo "wine32 not available: the 32-bit DLL is built but not run"
fi

echo "== 64-bit DLL against the Linux build"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/vstrender.exe \
  build-win64/Tarsyn764.dll "$prefixes/windows.raw"
build-test/tests/vsthost/vstrender build-test/Tarsyn764.so "$prefixes/linux.raw"
python3 tools/compare-raw.py "$prefixes/linux.raw" "$prefixes/windows.raw"
