#pragma once

#include <cstddef>

// The signal the hardware writes to cassette: every half-wave is one bit, a short one
// (half a period of 1500 Hz) a 1, a long one (half a period of 750 Hz) a 0. Bytes
// travel in 11-bit frames: a start bit 0, eight data bits from the lowest, two stop
// bits 1. A stream is a lead-in of 255 bytes, two leading bytes, the memory image,
// one trailing byte and a lead-out of 255 bytes.
namespace tape {

constexpr double kShortHalfWave = 1.0 / 3000.0;  // seconds, a 1
constexpr double kLongHalfWave = 1.0 / 1500.0;   // seconds, a 0

constexpr int kFrameBits = 11;
constexpr int kLeadByte = 255;
// Eleven 255 frames in a row mark a lead-in; 21 after data end the stream.
constexpr int kLeadInFrames = 11;
constexpr int kLeadOutBytes = 21;

constexpr int kLeadingBytes = 2;
constexpr int kTrailingBytes = 1;
// Complete streams: leading bytes, image, trailing byte.
constexpr std::size_t kPoly800StreamBytes = 1636;
constexpr std::size_t kPoly800IIStreamBytes = 2691;

}  // namespace tape
