#!/usr/bin/env bash
# Checks that Ardour 7 accepts the plug-in: its VST scanner records it as an instrument
# from "Corvane Music" with 2 audio outputs and MIDI input, and a headless session (Dummy
# backend) instantiates it with 80 parameters and restores a moved parameter from the
# chunk it saved. Usage: check-in-ardour.sh PLUGIN. Skips when Ardour is not installed.
set -euo pipefail
plugin="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
scanner=/usr/lib/ardour7/ardour-vst-scanner
if [ ! -x "$scanner" ] || ! command -v ardour7-lua >/dev/null; then
  echo "ardour-check: Ardour 7 not installed, skipped"
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/vst" "$work/cache" "$work/config" "$work/home"
cp "$plugin" "$work/vst/"
export XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config" HOME="$work/home"
export LXVST_PATH="$work/vst" SESSION_DIR="$work/session"
sleep 1.1  # Ardour ignores a cache stamped in the same second as the plug-in file

LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -f "$work/vst/$(basename "$plugin")" >"$work/scan.log" 2>&1
info="$(cat "$work"/cache/ardour7/vst/*.v2i 2>/dev/null || true)"
fail() {
  echo "ardour-check: FAILED: $1"
  cat "$work/scan.log"
  exit 1
}
for expected in '<VST2Info' 'creator="Corvane Music"' 'category="Instrument"' 'n_outputs="2"' \
  'n_midi_inputs="1"' 'is_instrument="1"'; do
  grep -qF "$expected" <<<"$info" || fail "scanner cache lacks $expected"
done
echo "ardour-check: scanner recorded an instrument from Corvane Music, 2 outputs, MIDI in"

session="$(timeout 120 ardour7-lua "$here/session-check.lua" 2>&1)" || true
grep -q '^ardour-check: parameters 80$' <<<"$session" || fail "session: $session"
reload="$(timeout 120 ardour7-lua "$here/reload-check.lua" 2>&1)" || true
grep -q '^ardour-check: reloaded cutoff 0.25' <<<"$reload" || fail "reload: $reload"
echo "ardour-check: session instantiated 80 parameters and restored its chunk"
