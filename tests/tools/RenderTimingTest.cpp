// Tarsyn7 played by the renderer: notes sound from their own samples, at their pitch,
// and every block size renders the same samples.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/SignalAnalysis.h"
#include "tests/tools/SmfBytes.h"
#include "tests/tools/ToolRun.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kControlPeriod = 48;  // samples per control tick at 48 kHz
constexpr double kSilence = 1e-6;

struct PlayedNote {
  int key;
  int64_t sample;  // where it must start
  int64_t length;
};

// 120 beats per minute (50 samples a tick) for four beats, then 100 (60 samples a
// tick); each note an eighth long with an eighth of silence after it.
const PlayedNote kNotes[] = {{57, 0, 12000},     {60, 24000, 12000}, {64, 48000, 12000},
                             {67, 72000, 12000}, {69, 96000, 14400}, {72, 124800, 14400},
                             {76, 153600, 14400}};

std::vector<uint8_t> Song() {
  TrackBytes track;
  track.Tempo(0, 500000);
  uint32_t pending = 0;
  for (int i = 0; i < 7; ++i) {
    if (i == 4) {
      track.Tempo(pending, 600000);
      pending = 0;
    }
    track.Event(pending, {0x90, static_cast<uint8_t>(kNotes[i].key), 100})
        .Event(240, {0x80, static_cast<uint8_t>(kNotes[i].key), 0});
    pending = 240;
  }
  return SmfBytes(0, 480, {track.End()});
}

// A plain square at the key's pitch: the default state ("INIT", the last program of the
// Corvane factory bank) with the 16' footage alone, an octave up.
const std::vector<std::string> kSquare = {"--bank",    TARSYN7_OWN_FACTORY_BANK,
                                          "--program", "63",
                                          "--set",     "DCO1 Octave=3",
                                          "--set",     "DCO1 8'=0",
                                          "--set",     "DCO1 4'=0",
                                          "--set",     "DCO1 2'=0"};

// The first sample above silence at or after `from` that follows silence.
int64_t Onset(const std::vector<double>& x, int64_t from) {
  for (auto i = static_cast<size_t>(from); i < x.size(); ++i) {
    if (std::fabs(x[i]) > kSilence) return static_cast<int64_t>(i);
  }
  return -1;
}

class RenderTiming : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new TempFolder;
    WriteBytes(folder->Path("notes.mid"), Song());
    reference = new Audio(Render({"--block-size", "512"}));
  }
  static void TearDownTestSuite() {
    delete reference;
    delete folder;
  }

  static Audio Render(const std::vector<std::string>& blocks) {
    std::vector<std::string> arguments = {folder->Path("notes.mid"),
                                          "--plugin",
                                          TARSYN7_PLUGIN_PATH,
                                          "--tail",
                                          "0.2",
                                          "--bits",
                                          "32",
                                          "-o",
                                          folder->Path("notes.wav")};
    arguments.insert(arguments.end(), kSquare.begin(), kSquare.end());
    arguments.insert(arguments.end(), blocks.begin(), blocks.end());
    const ToolResult result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return ReadAudio(folder->Path("notes.wav"));
  }

  static inline TempFolder* folder = nullptr;
  static inline Audio* reference = nullptr;
};

}  // namespace

// The envelope starts at the note's own sample; tempo changes move the later notes. A
// voice that has never played stands still (silent) until the next control tick gives
// its oscillator a pitch, and a reused one may start on a zero of its wave, so a note is
// heard from its sample on, at the latest one control period later.
TEST_F(RenderTiming, NotesStartAtTheirSamplesAcrossATempoChange) {
  const std::vector<double>& left = reference->left;
  ASSERT_EQ(left.size(), static_cast<size_t>(153600 + 14400 + 1 + 9600));
  EXPECT_EQ(Onset(left, 0), kControlPeriod + 1);
  int64_t from = kNotes[0].sample + kNotes[0].length + 4800;  // its release has died away
  for (const PlayedNote& note : std::vector<PlayedNote>(kNotes + 1, kNotes + 7)) {
    const int64_t onset = Onset(left, from);
    EXPECT_GE(onset, note.sample) << "key " << note.key;
    EXPECT_LE(onset, note.sample + kControlPeriod + 1) << "key " << note.key;
    from = note.sample + note.length + 4800;
  }
}

// A fresh voice takes its pitch at the next control tick; from then on it plays the key.
TEST_F(RenderTiming, NotesSoundAtTheirPitch) {
  for (const PlayedNote& note : kNotes) {
    const auto start = reference->left.begin() + note.sample + 4 * kControlPeriod;
    const std::vector<double> held(start, start + note.length - 8 * kControlPeriod);
    const double measured = signal_analysis::MeasureFrequency(held, kRate);
    const double expected = 440.0 * std::pow(2.0, (note.key - 69) / 12.0);
    EXPECT_NEAR(measured / expected, 1.0, 0.003) << "key " << note.key;
  }
}

TEST_F(RenderTiming, EveryBlockSizeRendersTheSameSamples) {
  for (const std::vector<std::string>& blocks :
       {std::vector<std::string>{"--block-size", "1"},
        {"--block-size", "47"},
        {"--block-size", "8192"},
        {"--random-blocks", "--block-size", "700", "--seed", "3"},
        {"--random-blocks", "--block-size", "64", "--seed", "12"}}) {
    const Audio audio = Render(blocks);
    ASSERT_EQ(audio.left.size(), reference->left.size()) << blocks[1];
    size_t differing = 0;
    for (size_t i = 0; i < audio.left.size(); ++i) {
      if (audio.left[i] != reference->left[i] || audio.right[i] != reference->right[i]) ++differing;
    }
    EXPECT_EQ(differing, 0u) << blocks[1];
  }
}
