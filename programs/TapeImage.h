#pragma once

#include <optional>
#include <string>
#include <vector>

#include "programs/HardwareImage.h"
#include "programs/TapeDecoder.h"
#include "programs/TapeReadSettings.h"
#include "programs/TapeWavWriter.h"

// The hardware memory image a tape recording carries, or why it carries none.
struct TapeImage {
  std::optional<HardwareDataImage> image;
  std::string error;  // a sentence for the user; empty on success
};

// The image inside a decoded stream; its length tells the layout.
TapeImage HardwareImageFromTape(const TapeDecodeResult& decoded);

// Decodes the WAV file at `path` with the given settings and takes its image.
TapeImage ReadTapeImage(const std::string& path, const TapeReadSettings& settings);

// A recording of the image as the hardware writes it to tape.
std::vector<uint8_t> TapeRecordingOf(const HardwareDataImage& image, const WavFormat& format);
