#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/host/MidiFile.h"

// Standard MIDI Files of format 0 and 1: running status, tempo and time-signature maps,
// all tracks merged. A file that breaks the format is refused with a RenderError that
// says what is wrong; nothing in it can make the reader read outside the bytes.
MidiFile ParseMidiFile(const std::vector<uint8_t>& bytes);

// Reads and parses a file; the error names the file.
MidiFile ReadMidiFile(const std::string& path);
