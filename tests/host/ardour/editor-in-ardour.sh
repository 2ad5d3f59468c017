#!/usr/bin/env bash
# Shows the plug-in's editor in Ardour 7's own window on an Xvfb server. A session made
# headless puts a fresh Tarsyn7 on a MIDI track and records the plug-in's window as open, so
# Ardour opens the editor while it loads the session. The check finds our 1054x600 window
# inside Ardour's, compares a capture of it with the panel tarsyn7-render draws for the same
# program, clicks "God Mode" and presses the space bar over it and reads both back from the
# session Ardour saves, and quits Ardour with the editor open.
# Usage: editor-in-ardour.sh PLUGIN RENDERER [SCREEN.png]; SCREEN.png receives a capture of
# the whole screen with the editor open. Skips without Ardour 7, Xvfb, xwininfo, xdotool or
# ImageMagick.
set -euo pipefail
plugin="$(realpath "$1")"
renderer="$(realpath "$2")"
screen_file="${3:-}"
ARDOUR_CHECKS="$(cd "$(dirname "$0")" && pwd)"
export ARDOUR_CHECKS
for program in /usr/lib/ardour7/ardour-vst-scanner ardour ardour7-lua Xvfb xwininfo xdotool \
  import compare; do
  if ! command -v "$program" >/dev/null; then
    echo "ardour-editor: $(basename "$program") not installed, skipped"
    exit 0
  fi
done
# shellcheck source=ardour-home.sh
source "$ARDOUR_CHECKS/ardour-home.sh"

server=""
ardour_pid=""
stop() {
  if [ -n "$ardour_pid" ]; then kill "$ardour_pid" 2>/dev/null || true; fi
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT
fail() {
  echo "ardour-editor: FAILED: $1"
  tail -n 20 "$work/ardour.log" 2>/dev/null || true
  exit 1
}

made="$(timeout 120 ardour7-lua "$ARDOUR_CHECKS/editor-session.lua" 2>&1)" || true
window_name="$(sed -n 's/^ardour-check: window //p' <<<"$made")"
[ -n "$window_name" ] || fail "session: $made"
session_file="$SESSION_DIR/tarsyn7.ardour"
# Ardour reopens the plug-in windows its session file records as open.
if grep -q '<Extra>' "$session_file"; then fail "the new session already has window states"; fi
sed -i "s|^</Session>|  <Extra><UI><Window name=\"$window_name\" visible=\"1\" x-off=\"-1\" \
y-off=\"-1\" x-size=\"-1\" y-size=\"-1\" custom-ui=\"1\"/></UI></Extra>\n</Session>|" "$session_file"
cp "$ARDOUR_CHECKS/ardour-config.xml" "$XDG_CONFIG_HOME/ardour7/config"
touch "$XDG_CONFIG_HOME/ardour7/.a7"  # Ardour's mark of an earlier start: no welcome wizard

# What a new instance shows: its first factory program.
"$renderer" --plugin "$plugin" --program 0 --screenshot "$work/expected.png" >/dev/null

Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do
  if [ -s "$work/display" ]; then break; fi
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=":$(cat "$work/display")"
export DISPLAY

ardour --no-splash --no-announcements "$session_file" >"$work/ardour.log" 2>&1 &
ardour_pid=$!
# Ardour's window for the plug-in, and our 1054x600 window somewhere inside it.
host_window() {
  xwininfo -root -tree 2>/dev/null | awk '/"synth: Tarsyn7/ { print $1; exit }'
}
editor_window() {
  xwininfo -root -tree 2>/dev/null | awk '
    /"synth: Tarsyn7/ { inside = 1; depth = match($0, /[^ ]/); next }
    inside && match($0, /[^ ]/) <= depth { inside = 0 }
    inside && / 1054x600\+/ { print $1; exit }'
}
geometry() {
  xwininfo -id "$1" | sed -n 's/^ *-geometry //p'
}
editor=""
for _ in $(seq 120); do
  kill -0 "$ardour_pid" 2>/dev/null || fail "Ardour ended while loading the session"
  editor="$(editor_window)"
  if [ -n "$editor" ]; then break; fi
  sleep 1
done
[ -n "$editor" ] || fail "Ardour shows no editor window after 120 seconds"
host="$(host_window)"
echo "ardour-editor: Ardour shows the editor: our window $editor ($(geometry "$editor")) in" \
  "$(xwininfo -id "$host" | sed -n 's/^xwininfo: Window id: //p') ($(geometry "$host"))"

# The first paint follows the host's first idle calls: the picture may take a moment.
differing=""
for _ in $(seq 40); do
  import -window "$editor" "$work/shown.png"
  differing="$(compare -metric AE "$work/shown.png" "$work/expected.png" null: 2>&1)" || true
  if [ "$differing" = 0 ]; then break; fi
  sleep 0.25
done
[ "$differing" = 0 ] || fail "the editor differs from the headless panel in $differing pixels"
echo "ardour-editor: its capture equals the headless panel (0 of 1054x600 pixels differ)"
if [ -n "$screen_file" ]; then import -window root "$screen_file"; fi

# A click on the "God Mode" switch reaches Ardour, and so does a key the editor does not use:
# the space bar, pressed over the editor in the focused plug-in window, rolls the transport
# and stops it. The session Ardour saves holds the new value and the moved playhead.
grep -q '<Controllable name="God Mode"[^>]*value="0"' "$session_file" ||
  fail "\"God Mode\" is not off in the new session"
xdotool mousemove --window "$editor" 955 73 click 1
xdotool windowfocus --sync "$host" mousemove --window "$editor" 600 258 key space sleep 1 key space
main="$(xdotool search --classname '^ardour_ardour$' | head -n 1)" || true
[ -n "$main" ] || fail "no main window of Ardour"
xdotool windowfocus --sync "$main" key ctrl+s
saved() {
  grep -q '<Controllable name="God Mode"[^>]*value="1"' "$session_file" &&
    grep -q ' playhead="[1-9]' "$SESSION_DIR/instant.xml" 2>/dev/null
}
for _ in $(seq 40); do
  if saved; then break; fi
  sleep 0.25
done
grep -q '<Controllable name="God Mode"[^>]*value="1"' "$session_file" ||
  fail "the click on \"God Mode\" did not reach Ardour's session"
grep -q ' playhead="[1-9]' "$SESSION_DIR/instant.xml" 2>/dev/null ||
  fail "the space bar pressed over the editor did not reach Ardour"
import -window "$editor" "$work/clicked.png"
differing="$(compare -metric AE "$work/clicked.png" "$work/expected.png" null: 2>&1)" || true
echo "ardour-editor: a click on \"God Mode\" turned it on in Ardour's session" \
  "($differing pixels of the switch redrawn); the space bar over the editor rolled Ardour's" \
  "transport to sample $(grep -o ' playhead="[0-9]*' "$SESSION_DIR/instant.xml" | cut -d'"' -f2)"

xdotool windowfocus --sync "$main" key ctrl+q
for _ in $(seq 60); do
  if ! kill -0 "$ardour_pid" 2>/dev/null; then break; fi
  sleep 0.5
done
if kill -0 "$ardour_pid" 2>/dev/null; then fail "Ardour did not quit with the editor open"; fi
status=0
wait "$ardour_pid" || status=$?
ardour_pid=""
[ "$status" = 0 ] || fail "Ardour quit with status $status"
echo "ardour-editor: Ardour quit with the editor open, status 0"
