-- Saves a new session with a fresh Tarsyn7 on a MIDI track for editor-in-ardour.sh and
-- prints the name under which Ardour's user interface keeps the plug-in's window.
local s, track = dofile(os.getenv("ARDOUR_CHECKS") .. "/synth-session.lua")
local instrument = track:the_instrument()
assert(not instrument:isnil(), "no instrument on the track")
print("ardour-check: window P-" .. track:to_stateful():id():to_s() .. "-" .. instrument:to_stateful():id():to_s())
s:save_state("", false, false, false, false, false)
close_session()
