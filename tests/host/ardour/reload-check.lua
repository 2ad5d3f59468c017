-- Reloads the session saved by session-check.lua and reads the moved parameter back.
local s = load_session(os.getenv("SESSION_DIR"), "tarsyn7")
assert(s, "session does not load")
for route in s:get_routes():iter() do
  local instrument = route:the_instrument()
  if not instrument:isnil() then
    print("ardour-check: reloaded cutoff", ARDOUR.LuaAPI.get_processor_param(instrument, 23, true))
  end
end
close_session()
