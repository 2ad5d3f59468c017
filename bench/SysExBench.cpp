#include <benchmark/benchmark.h>

#include "engine/Tarsyn7.h"
#include "programs/SysEx.h"

namespace {

// Checking a whole Poly-800 II dump: length, nibbles, checksum, then the image.
void BM_SysExParsePoly800IIDump(benchmark::State& state) {
  Tarsyn7 plug(nullptr);
  const std::vector<uint8_t> dump =
      BuildSysExDump(kPoly800II, plug.BankAsHardwareImage(HardwareLayout::kPoly800II));
  for (auto _ : state) benchmark::DoNotOptimize(ParseSysExDump(dump.data(), dump.size()));
}
BENCHMARK(BM_SysExParsePoly800IIDump)->Unit(benchmark::kMicrosecond);

// Applying 64 programs: the time the plug-in's lock is held, the audio thread waiting.
void BM_SysExApplyBank(benchmark::State& state) {
  Tarsyn7 plug(nullptr);
  const HardwareDataImage image = plug.BankAsHardwareImage(HardwareLayout::kPoly800);
  for (auto _ : state) plug.ApplyHardwarePrograms(image);
}
BENCHMARK(BM_SysExApplyBank)->Unit(benchmark::kMicrosecond);

// The bank as a dump to save or send.
void BM_SysExBuildBankDump(benchmark::State& state) {
  Tarsyn7 plug(nullptr);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        BuildSysExDump(kPoly800II, plug.BankAsHardwareImage(HardwareLayout::kPoly800II)));
  }
}
BENCHMARK(BM_SysExBuildBankDump)->Unit(benchmark::kMicrosecond);

}  // namespace
