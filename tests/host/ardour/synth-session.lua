-- Creates the session "tarsyn7" in SESSION_DIR on the Dummy backend with Tarsyn7 on a MIDI
-- track "synth"; answers the session and the track. Loaded by the session scripts.
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
return s, tracks:front()
