#!/usr/bin/env bash
# Builds the Windows plug-ins and runs them under wine: the test host's whole session
# against each DLL, the same performance rendered by the 64-bit DLL and by the Linux
# build (build-test/), compared sample by sample, and the built-in demo played by
# tarsyn7-render.exe through the 64-bit DLL.
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

echo "== the editor's images inside both DLLs"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/resourcecheck.exe \
  build-win64/Tarsyn764.dll PNG 101 123 PNG
if [ -d "$prefixes/32" ]; then
  WINEPREFIX="$prefixes/32" WINEARCH=win32 wine build-win32/tests/vsthost/resourcecheck.exe \
    build-win32/Tarsyn7.dll PNG 101 123 PNG
fi

echo "== 64-bit DLL against the Linux build"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/vstrender.exe \
  build-win64/Tarsyn764.dll "$prefixes/windows.raw"
build-test/tests/vsthost/vstrender build-test/Tarsyn764.so "$prefixes/linux.raw"
python3 tools/compare-raw.py "$prefixes/linux.raw" "$prefixes/windows.raw"

echo "== tarsyn7-render.exe with the 64-bit DLL under wine"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tarsyn7-render.exe \
  --plugin build-win64/Tarsyn764.dll -o "$prefixes/demo.wav" --stats
python3 - "$prefixes/demo.wav" <<'EOF'
import sys, wave
with wave.open(sys.argv[1]) as demo:
    assert (demo.getnchannels(), demo.getsampwidth(), demo.getframerate()) == (2, 3, 48000)
    samples = demo.readframes(demo.getnframes())
# The top byte of each 24-bit sample, channels interleaved: 13 of 128 is -20 dBFS.
top = [b - 256 if b > 127 else b for b in samples[2::3]]
peaks = [max(map(abs, top[channel::2]), default=0) for channel in (0, 1)]
if min(peaks) < 13:
    sys.exit(f"the demo rendered by tarsyn7-render.exe is (nearly) silent: peaks {peaks}/128")
print(f"demo.wav: {len(samples) // 6} frames, peaks {peaks[0]}/128 and {peaks[1]}/128")
EOF
