// libFuzzer target: every input is a WAV recording for the tape decoder. The first byte
// chooses the reading settings (bit 0 high-pass, bit 1 low-pass, the rest the threshold);
// the decoder must answer a stream of a hardware length, or a refusal with no stream.
#include <cstddef>
#include <cstdint>

#include "programs/TapeDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  TapeReadSettings settings;
  settings.highpassEnabled = data[0] & 1;
  settings.lowpassEnabled = data[0] & 2;
  settings.threshold = data[0] >> 2;
  const TapeDecodeResult result = DecodeTape(data + 1, size - 1, settings);
  if (result.error.empty() == result.stream.empty()) __builtin_trap();
  return 0;
}
