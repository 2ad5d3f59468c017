-- Creates a session on the Dummy backend, puts Tarsyn7 on a MIDI track, moves one
-- parameter, rolls, saves, and reloads: the saved chunk must bring the value back.
-- Run by check-in-ardour.sh with SESSION_DIR set; prints "ardour-check: ..." lines.
local folder = os.getenv("SESSION_DIR")
AudioEngine:set_backend("None (Dummy)", "", "")
local s = create_session(folder, "tarsyn7", 48000)
assert(s, "no session")
local info = nil
for p in ARDOUR.LuaAPI.list_plugins():iter() do
  if p.name == "Tarsyn7" then info = p end
end
assert(info, "Tarsyn7 not among the plug-ins")
print("ardour-check: found", info.creator, info.category, info.n_inputs:n_midi(), info.n_outputs:n_audio())
local midi = ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1)
local stereo = ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2)
local tracks = s:new_midi_track(midi, stereo, true, info, nil, nil, 1, "synth",
  ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
local instrument = tracks:front():the_instrument()
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
