#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/host/MidiFile.h"

// A format 0 Standard MIDI File of the song: its tempo and time-signature maps, then its
// events, timed in quarter-note ticks.
std::vector<uint8_t> EncodeMidiFile(const MidiFile& song);

// Encodes the song into a file; throws RenderError when it cannot be written.
void WriteMidiFile(const MidiFile& song, const std::string& path);
