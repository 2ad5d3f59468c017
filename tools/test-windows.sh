#!/usr/bin/env bash
# Builds the Windows plug-ins and runs them under wine: the test host's whole session
# against each DLL, the same performance rendered by the 64-bit DLL and by the Linux
# build (build-test/), compared sample by sample, a settings file written on Linux read
# by the Windows build, and the built-in demo played by tarsyn7-render.exe through the
# 64-bit DLL. Both DLLs' exports and imports are checked. Last, on an X server of its own
# (Xvfb), the editor opens in a window of the Windows test host, is clicked and typed into,
# and its window must show exactly what the plug-in draws without one. Where the machine cannot run
# 32-bit (i386) programs, the 32-bit DLL is built and checked but not run.
#
# TARSYN7_PRETEND_NO_I386=1 takes the path of a machine without 32-bit support (for
# checking this script on a machine that has it).
set -euo pipefail
cd "$(dirname "$0")/.."

# Runs a 93-byte i386 program that only exits: the kernel either executes it or answers
# "Exec format error".
kernel_runs_i386() {
  [ "${TARSYN7_PRETEND_NO_I386:-0}" != 1 ] || return 1
  local probe
  probe="$(mktemp)"
  python3 - "$probe" <<'PY'
import struct, sys
base, code = 0x08048000, bytes.fromhex("b801000000" "31db" "cd80")  # exit(0)
size = 52 + 32 + len(code)
header = b"\x7fELF\x01\x01\x01" + bytes(9) + struct.pack(
    "<HHIIIIIHHHHHH", 2, 3, 1, base + 84, 52, 0, 0, 52, 32, 1, 0, 0, 0)
segment = struct.pack("<IIIIIIII", 1, 0, base, base, size, size, 5, 0x1000)
open(sys.argv[1], "wb").write(header + segment + code)
PY
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return "$status"
}

need=(wine64 wine imagemagick)
missing=()
for package in "${need[@]}"; do dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package"); done
run32="this machine cannot run 32-bit (i386) programs"
if kernel_runs_i386; then
  run32=yes
  # 32-bit Windows programs need the i386 half of wine.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
fi
if ((${#missing[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
if [ "$run32" = yes ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  run32="the 32-bit wine does not start"
fi

bash tools/build-windows.sh

echo "== exports and imports of both DLLs"
for dll in build-win64/Tarsyn764.dll build-win32/Tarsyn7.dll; do
  dump="$(objdump -p "$dll")"
  for entry in VSTPluginMain main; do
    grep -Eq "^[[:space:]]+\[ *[0-9]+\] $entry\$" <<<"$dump" || { echo "$dll: $entry not exported" >&2; exit 1; }
  done
  imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")"
  # The C and C++ runtimes are linked in: only the system's own libraries may be needed.
  if grep -Eiv '^(kernel32|user32|gdi32|shell32|ole32|advapi32|msvcrt|comdlg32|winmm|ws2_32|wininet|comctl32|shlwapi|api-ms-win-[a-z0-9-]+)\.dll$' <<<"$imports"; then
    echo "$dll imports libraries beyond the system's (listed above)" >&2
    exit 1
  fi
  echo "$dll: exports VSTPluginMain and main; imports $(tr '\n' ' ' <<<"$imports")"
done

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
if [ "$run32" = yes ]; then
  WINEPREFIX="$prefixes/32" WINEARCH=win32 wine build-win32/tests/vsthost/vsthost.exe \
    build-win32/Tarsyn7.dll
else
  echo "$run32: the 32-bit DLL was built and its exports and imports checked, but not run"
fi

echo "== the editor's images inside both DLLs"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/resourcecheck.exe \
  build-win64/Tarsyn764.dll PNG 101 123 PNG
if [ "$run32" = yes ]; then
  WINEPREFIX="$prefixes/32" WINEARCH=win32 wine build-win32/tests/vsthost/resourcecheck.exe \
    build-win32/Tarsyn7.dll PNG 101 123 PNG
fi

echo "== the update check's WinINet client against a fake web server on 127.0.0.1"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/update-check.exe
if [ "$run32" = yes ]; then
  WINEPREFIX="$prefixes/32" WINEARCH=win32 wine build-win32/tests/vsthost/update-check.exe
fi

echo "== a settings file written on Linux, read by the Windows build"
build-test/tests/vsthost/settings-dump write "$prefixes/tarsyn7.ini"
build-test/tests/vsthost/settings-dump read "$prefixes/tarsyn7.ini" >"$prefixes/linux.txt"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/settings-dump.exe \
  read "$prefixes/tarsyn7.ini" | tr -d '\r' >"$prefixes/windows.txt"
diff "$prefixes/linux.txt" "$prefixes/windows.txt"
# And back: the Windows build replaces an existing file, the Linux build reads it the same.
cp "$prefixes/tarsyn7.ini" "$prefixes/windows.ini"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/settings-dump.exe \
  write "$prefixes/windows.ini"
build-test/tests/vsthost/settings-dump read "$prefixes/windows.ini" | diff "$prefixes/linux.txt" -
# The DLL's own file, in the prefix's application data (the session above created it).
ini="$(find "$prefixes/64/drive_c/users" -path '*/CorvaneMusic/tarsyn7.ini' | head -n 1)"
[ -n "$ini" ] || { echo "the 64-bit DLL made no settings file" >&2; exit 1; }
cp "$prefixes/tarsyn7.ini" "$ini"
WINEPREFIX="$prefixes/64" /usr/lib/wine/wine64 build-win64/tests/vsthost/vsthost.exe \
  build-win64/Tarsyn764.dll --settings

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

# Runs the editor host with one DLL on a fresh X server and compares the window it captured
# with the plug-in's own drawing of the same state (ImageMagick counts differing pixels).
check_editor_window() {
  local prefix="$1" wine="$2" folder="$3" dll="$4"
  # The steps before ran the prefix's wine without a display, and its desktop would stay
  # without one: the windows need a wine started anew on the X server.
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1280x1024x24" "$wine" \
    "$folder/tests/vsthost/editorhost.exe" "$folder/$dll" "$prefix/capture.ppm" "$prefix/panel.png"
  local differing
  differing="$(compare -metric AE "$prefix/capture.ppm" "$prefix/panel.png" \
    "$folder/editor-difference.png" 2>&1 || true)"
  if [ "$differing" != 0 ]; then
    cp "$prefix/capture.ppm" "$prefix/panel.png" "$folder/"
    echo "$dll: the editor's window differs from the plug-in's drawing in $differing pixels" \
      "(see $folder/editor-difference.png, capture.ppm, panel.png)" >&2
    exit 1
  fi
  echo "$dll: the editor's window equals the plug-in's drawing, pixel for pixel"
}

echo "== the editor in a window of the Windows test host"
if command -v xvfb-run >/dev/null; then
  check_editor_window "$prefixes/64" /usr/lib/wine/wine64 build-win64 Tarsyn764.dll
  if [ "$run32" = yes ]; then
    WINEARCH=win32 check_editor_window "$prefixes/32" wine build-win32 Tarsyn7.dll
  fi
else
  echo "Xvfb is not installed (package xvfb): the editor's window was not checked under wine"
fi
