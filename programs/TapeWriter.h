#pragma once

#include <cstdint>
#include <vector>

#include "programs/TapeWavWriter.h"

// Turns a hardware memory image into the signal the hardware reads back from cassette.
// Square half-waves whose edges fall at their exact times (a sample an edge passes
// through holds the average), at half of full scale:
// 0.1 s of silence, a lead-in of 512 frames of 255 (about 2 s), the leading bytes 0 and
// 0, the image, the low 8 bits of the sum of the image bytes as the trailing byte (the
// way dumps over MIDI end; the decoder does not check it), a lead-out of 128 frames of
// 255 and 0.1 s of silence.
std::vector<double> RenderTapeSignal(const std::vector<uint8_t>& image, double sampleRate);

// The same signal as a WAV file.
std::vector<uint8_t> WriteTapeWav(const std::vector<uint8_t>& image, const WavFormat& format);
