// Numbers a host hands over, taken at their extremes: none may overflow, throw or leave
// the engine half set up (the sanitized build checks the arithmetic on the way), and the
// host's own locale is never the plug-in's business.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "tests/host/EventList.h"
#include "tests/host/TestHost.h"

namespace {

constexpr int kBlock = 512;

class HostNumbers : public ::testing::Test {
 protected:
  HostNumbers() {
    SetSampleRate(48000.0f);
    Dispatch(effSetBlockSize, 0, kBlock);
    Dispatch(effMainsChanged, 0, 1);
  }

  VstIntPtr Dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  void SetSampleRate(float rate) { Dispatch(effSetSampleRate, 0, 0, nullptr, rate); }

  void Send(EventList events) { Dispatch(effProcessEvents, 0, 0, events.List()); }

  // One block through the float callback: the left channel's peak, NaN when a sample
  // is not finite.
  double RenderPeak() {
    std::vector<float> left(kBlock), right(kBlock);
    float* outputs[] = {left.data(), right.data()};
    effect->processReplacing(effect, nullptr, outputs, kBlock);
    double peak = 0.0;
    for (float sample : left) {
      if (!std::isfinite(sample)) return std::nan("");
      peak = std::max(peak, std::fabs(static_cast<double>(sample)));
    }
    return peak;
  }

  int VoicesWithGate() const {
    int count = 0;
    for (int i = 0; i < plug.PlayableVoices(); ++i) count += plug.GetVoice(i).Gate() ? 1 : 0;
    return count;
  }

  TestHost host;
  ActiveHost activate{&host};
  Tarsyn7 plug{&TestHost::Callback};
  AEffect* effect = plug.Effect();
};

}  // namespace

TEST_F(HostNumbers, EventOffsetsAreKeptInsideTheBlock) {
  uint8_t dump[] = {0xF0, 0x42, 0xF7};
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.deltaFrames = INT_MIN;
  sysex.dumpBytes = -5;
  sysex.sysexDump = reinterpret_cast<char*>(dump);
  Send(EventList()
           .Midi(INT_MIN, 0x90, 60, 100)
           .Midi(INT_MAX, 0x90, 67, 100)
           .Midi(INT_MAX, 0xB0, 1, 127)
           .Midi(INT_MIN, 0xE0, 0, 127)
           .Midi(INT_MAX, 0xB0, 64, 127)
           .Other(reinterpret_cast<VstEvent*>(&sysex)));
  EXPECT_GT(RenderPeak(), 0.0);
  EXPECT_EQ(VoicesWithGate(), 2);  // both notes started within their block
  EXPECT_GT(RenderPeak(), 0.0);
  EXPECT_TRUE(plug.Queue().Empty());
}

TEST_F(HostNumbers, AbsurdSampleRatesAreRefusedAndTheLastGoodOneKept) {
  const float inf = std::numeric_limits<float>::infinity();
  for (float rate : {std::nanf(""), inf, -inf, 0.0f, -44100.0f, 7999.0f, 768001.0f, 1e9f, 1e12f}) {
    SetSampleRate(rate);
    EXPECT_EQ(plug.SampleRate(), 48000.0) << rate;
    EXPECT_EQ(plug.ControlPeriod(), 48) << rate;
  }
  Send(EventList().Midi(0, 0x90, 60, 100));
  EXPECT_GT(RenderPeak(), 0.0);

  for (float rate : {8000.0f, 768000.0f}) {
    SetSampleRate(rate);
    EXPECT_EQ(plug.ControlPeriod(), static_cast<int>(rate) / 1000);
    Send(EventList().Midi(0, 0x90, 64, 100));
    const double peak = RenderPeak();
    EXPECT_TRUE(peak > 0.0 && peak < 4.0) << rate << " " << peak;
  }
}

TEST_F(HostNumbers, SamplePositionsBeyondTheIntRange) {
  host.timeGiven = true;
  for (double position : {2147483648.6, 1e15, 1e300}) {
    host.time.samplePos = position;
    EXPECT_EQ(plug.HostSamplePosition(), std::floor(position + 0.5)) << position;
  }
  for (double position : {-1.0, std::nan("")}) {
    host.time.samplePos = position;
    EXPECT_EQ(plug.HostSamplePosition(), 0.0) << position;
  }
}

TEST(HostVendorVersion, AnyNumberIdentifiesTheHost) {
  for (VstIntPtr version : {VstIntPtr{2147483647}, VstIntPtr{-20000}, VstIntPtr{1} << 40}) {
    TestHost host;
    host.product = "REAPER";
    host.vendorVersion = version;
    ActiveHost activate(&host);
    Tarsyn7 plug(&TestHost::Callback);
    EXPECT_EQ(plug.IdentifyHost(), 1) << version;
  }
}

// A host running with a decimal comma keeps it, and the plug-in still shows and reads
// numbers with a point.
TEST(HostLocale, AHostsLocaleIsItsOwn) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (tools/install-deps.sh makes it)";
  }
  struct BackToC {
    ~BackToC() { std::setlocale(LC_ALL, "C"); }
  } backToC;
  {
    TestHost host;
    ActiveHost activate(&host);
    Tarsyn7 plug(&TestHost::Callback);
    AEffect* effect = plug.Effect();
    char text[] = "37.5";
    EXPECT_EQ(effect->dispatcher(effect, effString2Parameter, kVcfCutoff, 0, text, 0.0f), 1);
    EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 37.5);
    plug.GetParameter(kModWheelToDco)->Set(0.25);
    EXPECT_EQ(plug.ParameterDisplayText(kModWheelToDco), "0.250");
    plug.GetParameter(kVolume)->Set(0.25);
    EXPECT_EQ(plug.ParameterDisplayText(kVolume), "-12.0");
  }
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "de_DE.UTF-8");
  char printed[8];
  std::snprintf(printed, sizeof printed, "%.1f", 0.5);
  EXPECT_STREQ(printed, "0,5");
}
