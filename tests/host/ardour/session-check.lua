-- Moves one parameter of Tarsyn7 in a new session, rolls, and saves: reload-check.lua
-- reads it back from the saved chunk. Run by check-in-ardour.sh with SESSION_DIR set;
-- prints "ardour-check: ..." lines.
local s, track = dofile(os.getenv("ARDOUR_CHECKS") .. "/synth-session.lua")
local instrument = track:the_instrument()
assert(not instrument:isnil(), "no instrument on the track")
local plugin = instrument:to_plugininsert():plugin(0)
print("ardour-check: parameters", plugin:parameter_count())
ARDOUR.LuaAPI.set_processor_param(instrument, 23, 0.25)
s:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(500000)
s:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(200000)
s:save_state("", false, false, false, false, false)
close_session()
