#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "programs/TapeBitDetector.h"
#include "programs/TapeDecoder.h"
#include "programs/TapeStreamSearch.h"
#include "programs/TapeWavReader.h"
#include "programs/TapeWriter.h"
#include "tests/programs/TapeDegradation.h"

namespace {

constexpr std::size_t kPoly800Image = 1633;
constexpr std::size_t kPoly800IIImage = 2688;

// Random image bytes; the last ones are 255, which must not be taken for lead-out.
std::vector<uint8_t> TestImage(std::size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> image(size);
  for (uint8_t& byte : image) byte = static_cast<uint8_t>(random());
  for (std::size_t i = size - 3; i < size; ++i) image[i] = 255;
  return image;
}

// What a decoder must answer for `image`: the leading bytes, the image, the trailing byte.
std::vector<uint8_t> ExpectedStream(const std::vector<uint8_t>& image) {
  std::vector<uint8_t> stream{0, 0};
  unsigned sum = 0;
  for (uint8_t byte : image) sum += byte;
  stream.insert(stream.end(), image.begin(), image.end());
  stream.push_back(static_cast<uint8_t>(sum));
  return stream;
}

TapeDecodeResult DecodeBytes(const std::vector<uint8_t>& wav,
                             const TapeReadSettings& settings = {}) {
  return DecodeTape(wav.data(), wav.size(), settings);
}

using RoundTrip = std::tuple<int, WavSampleFormat, int>;

class TapeRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(TapeRoundTrip, DecodesWhatTheWriterWrote) {
  const auto [rate, sampleFormat, channels] = GetParam();
  const std::size_t size = channels == 1 ? kPoly800Image : kPoly800IIImage;
  const std::vector<uint8_t> image = TestImage(size, static_cast<uint32_t>(rate + channels));
  const TapeDecodeResult result =
      DecodeBytes(WriteTapeWav(image, WavFormat{rate, channels, sampleFormat}));
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(result.stream, ExpectedStream(image));
}

INSTANTIATE_TEST_SUITE_P(RatesAndFormats, TapeRoundTrip,
                         testing::Combine(testing::Values(22050, 44100, 48000),
                                          testing::Values(WavSampleFormat::kPcm16,
                                                          WavSampleFormat::kPcm24,
                                                          WavSampleFormat::kFloat32),
                                          testing::Values(1, 2)));

// A damaged recording, settings under which it must read exactly and settings under
// which it must be refused (never read wrong).
struct Damage {
  const char* name;
  std::function<void(std::vector<double>&, double)> apply;
  std::optional<TapeReadSettings> reads;
  std::optional<TapeReadSettings> refuses;
};

TapeReadSettings Settings(bool highpass, bool lowpass, int threshold = 50) {
  TapeReadSettings settings;
  settings.highpassEnabled = highpass;
  settings.lowpassEnabled = lowpass;
  settings.threshold = threshold;
  return settings;
}

const Damage kDamages[] = {
    {"TapeBand", [](auto& s, double rate) { tape_damage::TapeBand(s, rate); },
     Settings(false, false), std::nullopt},
    {"DcOffset", [](auto& s, double) { tape_damage::Offset(s, 0.3); }, Settings(false, false),
     std::nullopt},
    {"LevelDrop", [](auto& s, double) { tape_damage::LevelDrop(s); }, Settings(false, false, 20),
     Settings(false, false)},
    {"Hum", [](auto& s, double rate) { tape_damage::Hum(s, rate, 0.3); }, Settings(true, false),
     Settings(false, false)},
    {"BandAndNoise",
     [](auto& s, double rate) {
       tape_damage::TapeBand(s, rate);
       tape_damage::Noise(s, 0.05, 11);
     },
     Settings(false, true), Settings(true, true)},
    {"HeavyNoise",
     [](auto& s, double rate) {
       tape_damage::TapeBand(s, rate);
       tape_damage::Noise(s, 0.3, 12);
     },
     std::nullopt, Settings(false, true)},
};

void PrintTo(const Damage& damage, std::ostream* out) {
  *out << damage.name;
}

class TapeDamage : public testing::TestWithParam<std::tuple<int, Damage>> {};

TEST_P(TapeDamage, ReadsExactlyOrRefuses) {
  const auto& [rate, damage] = GetParam();
  const std::vector<uint8_t> image = TestImage(kPoly800Image, 5);
  std::vector<double> signal = RenderTapeSignal(image, rate);
  damage.apply(signal, rate);
  const std::vector<uint8_t> wav = EncodeWav(signal, WavFormat{rate, 1, WavSampleFormat::kFloat32});

  if (damage.reads) {
    const TapeDecodeResult read = DecodeBytes(wav, *damage.reads);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.stream, ExpectedStream(image));
  }
  if (damage.refuses) {
    EXPECT_NE(DecodeBytes(wav, *damage.refuses).error, "");
  }
  // Whatever the filters, the stream is exact or refused.
  for (bool highpass : {false, true}) {
    for (bool lowpass : {false, true}) {
      const TapeDecodeResult any = DecodeBytes(wav, Settings(highpass, lowpass));
      EXPECT_EQ(any.stream, any.error.empty() ? ExpectedStream(image) : std::vector<uint8_t>{});
    }
  }
}

INSTANTIATE_TEST_SUITE_P(TapeLike, TapeDamage,
                         testing::Combine(testing::Values(22050, 44100, 48000),
                                          testing::ValuesIn(kDamages)),
                         [](const auto& test) {
                           return std::string(std::get<1>(test.param).name) +
                                  std::to_string(std::get<0>(test.param));
                         });

// Bits of whole frames, as the detector would give them.
void PutFrames(std::vector<uint8_t>& bits, const std::vector<uint8_t>& bytes) {
  for (uint8_t byte : bytes) {
    bits.push_back(kTapeBit0);
    for (int i = 0; i < 8; ++i) bits.push_back(byte >> i & 1);
    bits.push_back(kTapeBit1);
    bits.push_back(kTapeBit1);
  }
}

void PutStream(std::vector<uint8_t>& bits, const std::vector<uint8_t>& stream) {
  PutFrames(bits, std::vector<uint8_t>(40, 255));
  PutFrames(bits, stream);
  PutFrames(bits, std::vector<uint8_t>(30, 255));
}

TEST(TapeStreamSearch, FindsTheStreamBehindFalseStartsAndDamage) {
  const std::vector<uint8_t> stream = ExpectedStream(TestImage(kPoly800Image, 3));

  // One bit error in the lead-in turns a 255 into a valid 0xF7 frame.
  std::vector<uint8_t> bits;
  PutFrames(bits, std::vector<uint8_t>(20, 255));
  PutFrames(bits, {0xF7});
  PutStream(bits, stream);
  EXPECT_EQ(FindTapeStream(bits).stream, stream);

  // A first copy with a frame error, then a good second copy.
  bits.clear();
  PutStream(bits, stream);
  bits[11 * 300 + 9] = kTapeBit0;
  const std::size_t secondCopy = bits.size();
  PutStream(bits, stream);
  EXPECT_EQ(FindTapeStream(bits).stream, stream);

  // The damaged copy alone is refused with the place of the fault.
  bits.resize(secondCopy);
  TapeStreamResult damaged = FindTapeStream(bits);
  EXPECT_TRUE(damaged.stream.empty());
  EXPECT_EQ(damaged.error, "frame error at byte 260");

  // Data without its lead-out.
  bits.clear();
  PutFrames(bits, std::vector<uint8_t>(40, 255));
  PutFrames(bits, stream);
  EXPECT_EQ(FindTapeStream(bits).error, "the recording ends before the lead-out");

  // A stream whose trailing byte is 255 keeps it.
  std::vector<uint8_t> trailing255 = stream;
  trailing255.back() = 255;
  bits.clear();
  PutStream(bits, trailing255);
  EXPECT_EQ(FindTapeStream(bits).stream, trailing255);

  // One byte too many before a long lead-out is no Poly-800 II stream.
  std::vector<uint8_t> longer = stream;
  longer.push_back(7);
  bits.clear();
  PutFrames(bits, std::vector<uint8_t>(40, 255));
  PutFrames(bits, longer);
  PutFrames(bits, std::vector<uint8_t>(1200, 255));
  EXPECT_EQ(FindTapeStream(bits).error, "the data ends after 1637 bytes");
}

// A minimal WAV file around a data chunk, with chunks placed before it.
std::vector<uint8_t> Wav(uint16_t tag, uint16_t channels, uint16_t bits,
                         const std::vector<uint8_t>& data, uint32_t statedData,
                         const std::vector<uint8_t>& before = {}) {
  auto put = [](std::vector<uint8_t>& out, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  std::vector<uint8_t> out{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  out.insert(out.end(), before.begin(), before.end());
  const bool extensible = tag == 0xFFFE;
  out.insert(out.end(), {'f', 'm', 't', ' '});
  put(out, extensible ? 40 : 16, 4);
  put(out, tag, 2);
  put(out, channels, 2);
  put(out, 8000, 4);
  put(out, 0, 4);
  put(out, 0, 2);
  put(out, bits, 2);
  if (extensible) {
    put(out, 22, 2);
    put(out, bits, 2);
    put(out, 0, 4);
    out.insert(out.end(), {3, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
  }
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  put(out, statedData, 4);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

TEST(TapeWavReader, ReadsEveryLayoutAHardwareRecordingMayCome) {
  // An odd LIST chunk with its pad byte, extensible float, and a streaming recorder's size.
  const std::vector<uint8_t> list{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  const std::vector<uint8_t> floats{0, 0, 0x80, 0x3F, 0, 0, 0xC0, 0x7F, 0, 0, 0x80, 0xBE};
  const std::vector<uint8_t> extensible = Wav(0xFFFE, 1, 32, floats, 0xFFFFFFFF, list);
  TapeWavResult read = ReadTapeWav(extensible.data(), extensible.size());
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.wav.samples, (std::vector<double>{1.0, 0.0, -0.25}));  // NaN reads as 0

  // Stereo 8-bit and 24-bit: the first channel only.
  const std::vector<uint8_t> bytes8 = Wav(1, 2, 8, {0, 255, 192, 0}, 4);
  read = ReadTapeWav(bytes8.data(), bytes8.size());
  EXPECT_EQ(read.wav.samples, (std::vector<double>{-1.0, 0.5}));
  const std::vector<uint8_t> bytes24 = Wav(1, 1, 24, {0, 0, 0x80, 0, 0, 0x40}, 6);
  read = ReadTapeWav(bytes24.data(), bytes24.size());
  EXPECT_EQ(read.wav.samples, (std::vector<double>{-1.0, 0.5}));
}

TEST(TapeWavReader, RefusesHostileFiles) {
  std::vector<uint8_t> loop = Wav(1, 1, 16, {0, 0}, 2);
  const std::vector<uint8_t> huge{'J', 'U', 'N', 'K', 0xF8, 0xFF, 0xFF, 0xFF};
  loop.insert(loop.begin() + 12, huge.begin(), huge.end());
  const std::vector<std::vector<uint8_t>> hostile = {
      {},
      {'R', 'I', 'F', 'F'},
      loop,
      Wav(1, 0, 16, {0, 0}, 2),
      Wav(1, 1, 12, {0, 0}, 2),
      Wav(1, 1, 16, {}, 0),
      Wav(1, 1, 16, {0}, 1),
      Wav(1, 3, 16, std::vector<uint8_t>(6, 0), 6),
      Wav(3, 1, 32, std::vector<uint8_t>(16, 0xFF), 16),  // NaN
      Wav(1, 1, 16, std::vector<uint8_t>(4000, 0x40), 0x7FFFFFFF),
  };
  for (const std::vector<uint8_t>& wav : hostile) EXPECT_NE(DecodeBytes(wav).error, "");
}

TEST(TapeDecoder, LeavesOutFiltersTheRateCannotCarry) {
  // At 8 kHz a 5000 Hz low-pass and a 99999 Hz high-pass would be unstable or useless.
  const std::vector<uint8_t> image = TestImage(kPoly800Image, 9);
  const std::vector<uint8_t> wav = WriteTapeWav(image, WavFormat{8000, 1, WavSampleFormat::kPcm16});
  TapeReadSettings settings = Settings(true, true);
  settings.highpassFrequency = 99999;
  EXPECT_EQ(DecodeBytes(wav, settings).stream, ExpectedStream(image));
}

}  // namespace
