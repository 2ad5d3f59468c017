#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "programs/TapeBitDetector.h"
#include "programs/TapeDecoder.h"
#include "programs/TapeStreamSearch.h"
#include "programs/TapeWriter.h"
#include "tests/programs/TapeDegradation.h"

namespace {

constexpr std::size_t kPoly800IIImage = 2688;

std::vector<uint8_t> RandomImage() {
  std::mt19937 random(1);
  std::vector<uint8_t> image(kPoly800IIImage);
  for (uint8_t& byte : image) byte = static_cast<uint8_t>(random());
  return image;
}

// Decoding a whole Poly-800 II tape (about 25 s) from a 16-bit WAV file in memory.
void BM_TapeDecode(benchmark::State& state) {
  const int rate = static_cast<int>(state.range(0));
  const std::vector<uint8_t> wav =
      WriteTapeWav(RandomImage(), WavFormat{rate, 2, WavSampleFormat::kPcm16});
  for (auto _ : state) benchmark::DoNotOptimize(DecodeTape(wav.data(), wav.size(), {}));
}
BENCHMARK(BM_TapeDecode)->Arg(22050)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond);

bool ReadsExactly(const std::vector<double>& clean, double rate, bool band, double noise,
                  uint32_t seed, const std::vector<uint8_t>& image,
                  const TapeReadSettings& settings) {
  std::vector<double> signal = clean;
  if (band) tape_damage::TapeBand(signal, rate);
  tape_damage::Noise(signal, noise, seed);
  const TapeStreamResult found = FindTapeStream(DetectTapeBits(signal, rate, settings));
  return found.error.empty() && found.stream.size() == image.size() + 3 &&
         std::equal(image.begin(), image.end(), found.stream.begin() + 2);
}

// The highest RMS noise level, relative to the tape signal's amplitude (0.5), up to which
// five seeded recordings all decode exactly (the low-pass filter on): the writer's square
// waves as they are (second argument 0) or through a tape deck's band (1).
void BM_TapeNoiseMargin(benchmark::State& state) {
  const double rate = static_cast<double>(state.range(0));
  const bool band = state.range(1) != 0;
  const std::vector<uint8_t> image = RandomImage();
  const std::vector<double> clean = RenderTapeSignal(image, rate);
  TapeReadSettings settings;
  settings.lowpassEnabled = true;
  double margin = 0.0;
  for (auto _ : state) {
    margin = 0.0;
    for (double noise = 0.01;; noise += 0.01) {
      bool all = true;
      for (uint32_t seed = 1; seed <= 5 && all; ++seed) {
        all = ReadsExactly(clean, rate, band, noise * 0.5, seed, image, settings);
      }
      if (!all) break;
      margin = noise;
    }
  }
  state.counters["noise_rms_per_amplitude"] = margin;
}
BENCHMARK(BM_TapeNoiseMargin)
    ->ArgsProduct({{22050, 44100, 48000}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
