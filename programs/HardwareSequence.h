#pragma once

#include <cstdint>

#include "engine/Sequence.h"

// The hardware's step sequence area: one byte per event. 0 ends the sequence, 1 is a
// rest, 2 a tie; any other byte is a note, (byte AND 127) + 24, and bit 7 marks the last
// note of its step.

// Reads at most `maxSteps` steps, never past the area. A step not finished before the
// area ends or an end, rest or tie byte comes is dropped, so is a note above 127.
Sequence ReadHardwareSequence(const uint8_t* area, int size, int maxSteps);

// Writes the steps that fit whole into the area and fills the rest with 0. A note is
// moved by octaves into 24-127; a note that is not the last of its step is kept off
// 24-26, whose bytes would read as end, rest or tie.
void WriteHardwareSequence(const Sequence& sequence, uint8_t* area, int size);
