// A program whose sequence follows the host's clock, rendered by the renderer through a
// tempo change: every step sounds on its sixteenth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "tests/tools/SmfBytes.h"
#include "tests/tools/ToolRun.h"

namespace {

constexpr int kControlPeriod = 48;  // at 48 kHz
constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerStep = kTicksPerQuarter / 4;
constexpr int kChangeTick = 1000;  // 120 BPM before, 90 after
constexpr int kEndTick = 3840;
constexpr int kSixteenth = 15;  // the division "1/16"

// Sample of a tick at 48 kHz: 50 samples a tick at 120 BPM, 66.67 at 90.
double SampleOfTick(int tick) {
  if (tick <= kChangeTick) return tick * 50.0;
  return kChangeTick * 50.0 + (tick - kChangeTick) * (666667e-6 / kTicksPerQuarter * 48000.0);
}

std::vector<uint8_t> Song() {
  TrackBytes track;
  track.Tempo(0, 500000).Tempo(kChangeTick, 666667);
  track.Event(kEndTick - kChangeTick, {0xB0, 7, 100});  // marks the end; binds nothing
  return SmfBytes(0, kTicksPerQuarter, {track.End()});
}

// An FXP holding the program chunk: host clock, sixteenths, a note on every other step.
std::vector<uint8_t> HostClockedProgram() {
  Tarsyn7 plug(nullptr);
  plug.SetParameterFromEditor(kSeqClock, 1.0);
  plug.SetParameterFromEditor(kSeqFrequency, (kSixteenth + 0.5) / 19.0);
  plug.SetSequence({{false, {{69, 100}}}, {}});
  void* data = nullptr;
  const int size = plug.GetChunk(false, &data);
  std::vector<uint8_t> file = {'C', 'c', 'n', 'K'};
  AppendBigEndian(file, static_cast<uint32_t>(52 + size), 4);
  file.insert(file.end(), {'F', 'P', 'C', 'h', 0, 0, 0, 1, 't', 's', 'y', '7'});
  AppendBigEndian(file, 1, 4);       // plug-in version
  AppendBigEndian(file, 80, 4);      // parameters
  file.resize(file.size() + 28, 0);  // the name
  AppendBigEndian(file, static_cast<uint32_t>(size), 4);
  const auto* bytes = static_cast<const uint8_t*>(data);
  file.insert(file.end(), bytes, bytes + size);
  return file;
}

int64_t Onset(const std::vector<double>& x, int64_t from) {
  const auto loud =
      std::find_if(x.begin() + from, x.end(), [](double s) { return std::fabs(s) > 1e-6; });
  return loud - x.begin();
}

}  // namespace

// The very first note waits a tick for its voice's pitch; every later one starts within a
// control period of its grid line, before and after the tempo change.
TEST(SequencerRender, HostClockedStepsStayOnTheGridAcrossATempoChange) {
  TempFolder folder;
  WriteBytes(folder.Path("song.mid"), Song());
  WriteBytes(folder.Path("sequence.fxp"), HostClockedProgram());
  const ToolResult result =
      RunTool({folder.Path("song.mid"), "--plugin", TARSYN7_PLUGIN_PATH, "--fxp",
               folder.Path("sequence.fxp"), "--sample-rate", "48000", "--tail", "0.2", "--bits",
               "32", "-o", folder.Path("out.wav")});
  ASSERT_EQ(result.exitCode, 0) << result.output;
  const std::vector<double> left = ReadAudio(folder.Path("out.wav")).left;
  ASSERT_GT(left.size(), SampleOfTick(kEndTick));
  EXPECT_NEAR(Onset(left, 0), 0, 2 * kControlPeriod);
  for (int tick = 2 * kTicksPerStep; tick < kEndTick; tick += 2 * kTicksPerStep) {
    const double expected = SampleOfTick(tick);
    const int64_t from = std::llround(SampleOfTick(tick - kTicksPerStep / 2));
    EXPECT_NEAR(static_cast<double>(Onset(left, from)), expected, kControlPeriod)
        << "tick " << tick;
  }
}

// A sequence of the factory bank of our own ("Techno Sequence", rests between its notes)
// started by a key on the host's clock: its notes keep the grid of its steps, "1/8." at
// 120 BPM. The key comes after the transport has started, which arms the sequencer.
TEST(SequencerRender, OwnFactorySequencePlaysInTime) {
  if (!std::ifstream(TARSYN7_OWN_FACTORY_BANK)) GTEST_SKIP() << "no factory bank built";
  constexpr int64_t kStep = 18000;
  TempFolder folder;
  TrackBytes track;
  track.Tempo(0, 500000).Event(240, {0x90, 60, 100}).Event(2880, {0x80, 60, 0});
  WriteBytes(folder.Path("key.mid"), SmfBytes(0, kTicksPerQuarter, {track.End()}));
  const ToolResult result =
      RunTool({folder.Path("key.mid"), "--plugin", TARSYN7_PLUGIN_PATH, "--bank",
               TARSYN7_OWN_FACTORY_BANK, "--program", "60", "--set", "Seq. Clock=2",
               "--sample-rate", "48000", "--bits", "32", "-o", folder.Path("out.wav")});
  ASSERT_EQ(result.exitCode, 0) << result.output;
  const std::vector<double> left = ReadAudio(folder.Path("out.wav")).left;
  double peak = 0.0;
  for (double s : left) peak = std::max(peak, std::fabs(s));
  const auto loud = [&](int64_t from) {
    const auto at = std::find_if(left.begin() + from, left.end(),
                                 [peak](double s) { return std::fabs(s) > 0.05 * peak; });
    return at - left.begin();
  };
  const int64_t first = loud(0);
  EXPECT_NEAR(first, kStep + kControlPeriod, 2 * kControlPeriod);  // the grid line after the key
  for (int step : {2, 3, 5, 6}) {
    EXPECT_NEAR(loud(first + step * kStep - 2000) - first, step * kStep, kControlPeriod) << step;
  }
}
