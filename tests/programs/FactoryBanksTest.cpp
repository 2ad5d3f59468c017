#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/PlayingPlug.h"
#include "programs/FactoryTable.h"
#include "programs/HardwareProgramRecord.h"

namespace {

constexpr int kPrograms = 64;

std::vector<std::string> Names(const Tarsyn7& plug) {
  std::vector<std::string> names;
  for (int i = 0; i < kPrograms; ++i) names.push_back(plug.PresetName(i));
  return names;
}

// Peak of both channels over a four-note chord at velocity 100, held for a second and a
// half and released for half a second.
double ChordPeak(PlayingPlug& player, bool& finite) {
  for (int key : {60, 64, 67, 72}) player.NoteOn(key, 100);
  double peak = 0.0;
  finite = true;
  const int rate = 44100;
  for (int block = 0; block < 2 * rate / 512; ++block) {
    if (block == 3 * rate / 2 / 512) {
      for (int key : {60, 64, 67, 72}) player.NoteOff(key);
    }
    player.Render(512);
    for (const std::vector<double>* channel : {&player.left, &player.right}) {
      for (double sample : *channel) {
        finite = finite && std::isfinite(sample);
        peak = std::max(peak, std::fabs(sample));
      }
    }
  }
  return peak;
}

// Every program plays finite, audible sound, and a chord stays below full scale.
void ExpectEveryProgramPlaysBelowFullScale(bool poly800) {
  for (int program = 0; program < kPrograms; ++program) {
    PlayingPlug player;
    ASSERT_TRUE(player.plug.RestoreFactoryBank(poly800));
    player.plug.LoadProgram(program);
    bool finite = false;
    const double peak = ChordPeak(player, finite);
    const std::string name = player.plug.PresetName(program);
    EXPECT_TRUE(finite) << name;
    EXPECT_GT(peak, 0.01) << name;
    if (name != "INIT") {
      EXPECT_LT(peak, 1.0) << name;
    }
    if (std::getenv("TARSYN7_SHOW_PEAKS")) {
      std::cout << (poly800 ? "LEGACY " : "PROGDATA ") << program + 1 << " " << name << " "
                << 20.0 * std::log10(peak) << " dBFS\n";
    }
  }
}

}  // namespace

TEST(FactoryBanksTest, NewInstanceHoldsThePoly800FactoryProgramsWithLegacyMode) {
  Tarsyn7 plug{nullptr};
  EXPECT_EQ(plug.PresetName(0), "Strings");
  EXPECT_EQ(plug.PresetName(63), "UFO Swoop");
  EXPECT_EQ(plug.GetParameter(kLegacyMode)->Value(), 1.0);
  const std::vector<FactoryProgram> table = ReadFactoryTable();
  if (table.empty()) GTEST_SKIP() << "no factory program table in ../shared/data";
  ASSERT_EQ(table.size(), static_cast<size_t>(kPrograms));
  for (int program = 0; program < kPrograms; ++program) {
    plug.LoadProgram(program);
    const FactoryProgram& row = table[static_cast<size_t>(program)];
    EXPECT_EQ(plug.PresetName(program), row.name);
    EXPECT_EQ(plug.GetParameter(kLegacyMode)->Value(), 1.0) << row.name;
    for (ParameterIndex index : HardwareRecordParameters()) {
      EXPECT_EQ(plug.GetParameter(index)->Value(),
                PlainFromHardwareValue(index, row.values[static_cast<size_t>(index)]))
          << row.name << " " << plug.GetParameter(index)->Name();
    }
  }
}

TEST(FactoryBanksTest, OwnFactoryBankRestoresWithInitLastAndKeepsTheCurrentProgram) {
  Tarsyn7 plug{nullptr};
  plug.LoadProgram(9);
  ASSERT_TRUE(plug.RestoreFactoryBank(false));
  EXPECT_EQ(plug.CurrentPreset(), 9);
  const std::vector<std::string> names = Names(plug);
  EXPECT_EQ(names.back(), "INIT");
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "names repeat";
  plug.LoadProgram(63);
  for (int i = 0; i < plug.ParameterCount(); ++i) {
    EXPECT_EQ(plug.GetParameter(i)->Value(),
              plug.GetParameter(i)->Clamp(plug.GetParameter(i)->Default()))
        << plug.GetParameter(i)->Name();
  }
  ASSERT_TRUE(plug.RestoreFactoryBank(true));
  EXPECT_EQ(Names(plug).front(), "Strings");
}

TEST(FactoryBanksTest, EveryPoly800ProgramPlaysBelowFullScale) {
  ExpectEveryProgramPlaysBelowFullScale(true);
}

TEST(FactoryBanksTest, EveryOwnProgramPlaysBelowFullScale) {
  ExpectEveryProgramPlaysBelowFullScale(false);
}
