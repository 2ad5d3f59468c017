# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # $plugin comes from the sourcing script, $scanned goes to it
# Sourced by the Ardour checks: a throw-away home for Ardour 7 (settings, caches, the plug-in
# folder) with the plug-in copied in and recorded by Ardour's VST scanner. Needs $plugin (an
# absolute path); sets $work, removed on exit, and $scanned (the scanner's record).
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/vst" "$work/cache" "$work/config/ardour7" "$work/home"
cp "$plugin" "$work/vst/"
export XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config" HOME="$work/home"
export LXVST_PATH="$work/vst" SESSION_DIR="$work/session"
sleep 1.1  # Ardour ignores a cache stamped in the same second as the plug-in file

# The scanner names its record after the path it is given: Ardour looks it up by the full one.
LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner \
  -f "$work/vst/$(basename "$plugin")" >"$work/scan.log" 2>&1 || true
scanned="$(cat "$work"/cache/ardour7/vst/*.v2i 2>/dev/null || true)"
