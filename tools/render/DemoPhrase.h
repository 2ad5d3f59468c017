#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/host/MidiFile.h"

// The song played when no MIDI file is given: nine bars of pad chords over a bass line,
// a melody in the second half, vibrato from the modulation wheel and a final chord
// that bends into place.
MidiFile DemoPhrase();

// The Tarsyn7 sound the demo is written for, as "Parameter Name=value" settings. It is
// used when the user chose no sound and the plug-in is Tarsyn7 (kDemoPluginId).
std::vector<std::string> DemoSound();
constexpr int32_t kDemoPluginId = 0x74737937;  // "tsy7"
