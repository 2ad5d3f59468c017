#!/usr/bin/env bash
# Checks that Ardour 7 accepts the plug-in: its VST scanner records it as an instrument
# from "Corvane Music" with 2 audio outputs and MIDI input, and a headless session (Dummy
# backend) instantiates it with 80 parameters and restores a moved parameter from the
# chunk it saved. Usage: check-in-ardour.sh PLUGIN. Skips when Ardour is not installed.
set -euo pipefail
plugin="$(realpath "$1")"
ARDOUR_CHECKS="$(cd "$(dirname "$0")" && pwd)"
export ARDOUR_CHECKS
if [ ! -x /usr/lib/ardour7/ardour-vst-scanner ] || ! command -v ardour7-lua >/dev/null; then
  echo "ardour-check: Ardour 7 not installed, skipped"
  exit 0
fi
# shellcheck source=ardour-home.sh
source "$ARDOUR_CHECKS/ardour-home.sh"

fail() {
  echo "ardour-check: FAILED: $1"
  cat "$work/scan.log"
  exit 1
}
for expected in '<VST2Info' 'creator="Corvane Music"' 'category="Instrument"' 'n_outputs="2"' \
  'n_midi_inputs="1"' 'is_instrument="1"'; do
  grep -qF "$expected" <<<"$scanned" || fail "scanner cache lacks $expected"
done
echo "ardour-check: scanner recorded an instrument from Corvane Music, 2 outputs, MIDI in"

session="$(timeout 120 ardour7-lua "$ARDOUR_CHECKS/session-check.lua" 2>&1)" || true
grep -q '^ardour-check: parameters 80$' <<<"$session" || fail "session: $session"
reload="$(timeout 120 ardour7-lua "$ARDOUR_CHECKS/reload-check.lua" 2>&1)" || true
grep -q '^ardour-check: reloaded cutoff 0.25' <<<"$reload" || fail "reload: $reload"
echo "ardour-check: session instantiated 80 parameters and restored its chunk"
