#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

#include "control/MicrotuningClient.h"
#include "tests/engine/PlayingPlug.h"
#include "tests/engine/SignalAnalysis.h"

namespace {

// The fake library's controls, reached through a handle of its own (the same loaded copy
// the client uses). Every test starts from 12-TET with the master away.
class FakeMaster {
 public:
  explicit FakeMaster(const char* path = FAKE_MTS_PATH) : library_(path) {
    SetMaster(false);
    for (int key = 0; key < 128; ++key) {
      SetFrequency(key, 440.0 * std::pow(2.0, (key - 69) / 12.0));
      SetFiltered(key, false);
    }
    SetScaleName(nullptr);
  }

  std::shared_ptr<MicrotuningLibrary> Open() const { return MicrotuningLibrary::Open({path_}); }
  void SetMaster(bool on) { Call<void (*)(bool)>("FakeMtsSetMaster", on); }
  void SetFrequency(int key, double hertz) {
    Call<void (*)(int, double)>("FakeMtsSetFrequency", key, hertz);
  }
  void SetFiltered(int key, bool on) { Call<void (*)(int, bool)>("FakeMtsSetFiltered", key, on); }
  void SetScaleName(const char* name) { Call<void (*)(const char*)>("FakeMtsSetScaleName", name); }
  int Clients() { return Call<int (*)()>("FakeMtsClients"); }

 private:
  template <typename Function, typename... Arguments>
  std::invoke_result_t<Function, Arguments...> Call(const char* name, Arguments... arguments) {
    auto function = reinterpret_cast<Function>(library_.Symbol(name));
    if (!function) ADD_FAILURE() << name << " missing from the fake library";
    return function(arguments...);
  }

  std::string path_ = FAKE_MTS_PATH;
  DynamicLibrary library_;
};

// Seconds of a held note, after its attack, rendered at 44.1 kHz.
double RenderedFrequency(PlayingPlug& p, int key) {
  p.NoteOn(key);
  p.RenderInBlocks(4410, {512});
  return signal_analysis::MeasureFrequency(p.RenderInBlocks(44100, {512}), 44100.0);
}

}  // namespace

TEST(Microtuning, WithoutMasterOrLibraryEverythingIsEqualTemperament) {
  FakeMaster fake;
  MicrotuningClient absent(MicrotuningLibrary::Open({"/nonexistent/libMTS.so"}));
  MicrotuningClient offline(fake.Open());
  fake.SetFiltered(60, true);
  fake.SetFrequency(60, 300.0);
  for (const MicrotuningClient* client : {&absent, &offline}) {
    EXPECT_EQ(client->PitchIndexForKey(69), 8832.0);
    EXPECT_EQ(client->PitchIndexForKey(60), 60 * 128.0);
    EXPECT_FALSE(client->ShouldFilterNote(60));
    EXPECT_EQ(client->DisplayText(), "");
  }
  fake.SetMaster(true);  // the master arrives: asked afresh at every use
  EXPECT_EQ(offline.PitchIndexForKey(69), 8832.0);
  EXPECT_NE(offline.PitchIndexForKey(60), 60 * 128.0);
  EXPECT_TRUE(offline.ShouldFilterNote(60));
  fake.SetScaleName("Werckmeister III");
  EXPECT_EQ(offline.DisplayText(), "Micro Tuning: Werckmeister III");
  fake.SetScaleName(nullptr);
  EXPECT_EQ(offline.DisplayText(), "");
  fake.SetMaster(false);  // and leaves
  EXPECT_EQ(offline.PitchIndexForKey(60), 60 * 128.0);
  EXPECT_FALSE(offline.ShouldFilterNote(60));
}

TEST(Microtuning, HostileMasterTablesStayWithinThePitchTable) {
  FakeMaster fake;
  MicrotuningClient client(fake.Open());
  fake.SetMaster(true);
  fake.SetFrequency(0, 1.0);
  fake.SetFrequency(1, 1e9);
  fake.SetFrequency(2, std::numeric_limits<double>::quiet_NaN());
  fake.SetFrequency(3, std::numeric_limits<double>::infinity());
  fake.SetFrequency(4, -440.0);
  fake.SetFrequency(5, 0.0);
  EXPECT_EQ(client.PitchIndexForKey(0), 4.0);
  EXPECT_EQ(client.PitchIndexForKey(1), 17276.0);
  for (int key = 2; key <= 5; ++key) EXPECT_EQ(client.PitchIndexForKey(key), key * 128.0);
  EXPECT_EQ(client.PitchIndexForKey(-1), -128.0);  // beyond the master's table
  EXPECT_EQ(client.PitchIndexForKey(140), 140 * 128.0);
  EXPECT_FALSE(client.ShouldFilterNote(200));
}

TEST(Microtuning, RegistersForItsLifetimeAndMissingFunctionsDisableOnlyTheirFeature) {
  FakeMaster fake;
  const int before = fake.Clients();
  {
    MicrotuningClient client(fake.Open());
    EXPECT_EQ(fake.Clients(), before + 1);
  }
  EXPECT_EQ(fake.Clients(), before);

  FakeMaster partial(FAKE_MTS_PARTIAL_PATH);
  MicrotuningClient client(MicrotuningLibrary::Open({FAKE_MTS_PARTIAL_PATH}));
  partial.SetMaster(true);
  partial.SetFrequency(69, 466.1638);
  partial.SetFiltered(69, true);
  EXPECT_EQ(client.PitchIndexForKey(69), 70 * 128.0);  // tuning works
  EXPECT_FALSE(client.ShouldFilterNote(69));           // no filter function
  EXPECT_EQ(client.DisplayText(), "Micro Tuning: 12-TET");
}

TEST(Microtuning, MasterRetunesAndFiltersPlayedNotes) {
  FakeMaster fake;
  PlayingPlug p;
  p.plug.Microtuning().Connect(fake.Open());
  const double equal = RenderedFrequency(p, 57);
  p.NoteOff(57);

  fake.SetMaster(true);
  fake.SetFrequency(57, 220.0 * std::pow(2.0, 1 / 12.0));  // a semitone up
  fake.SetFiltered(62, true);
  p.NoteOn(62);  // filtered: no key held, no voice
  const double retuned = RenderedFrequency(p, 57);
  EXPECT_NEAR(retuned / equal, std::pow(2.0, 1 / 12.0), 0.002);
  EXPECT_FALSE(p.plug.Held().Contains(62));
  EXPECT_TRUE(p.plug.Held().Contains(57));
  for (int i = 0; i < p.plug.PlayableVoices(); ++i) EXPECT_NE(p.VoiceAt(i).Key(), 62);
}
