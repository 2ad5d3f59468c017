// Loads the built plug-in the way a host does: through its exported entry point only.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "host/Vst2.h"

namespace {

VstIntPtr VST_CALLBACK QuietHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

using EntryPoint = AEffect* (*)(HostCallback);

class PluginLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    library = dlopen(TARSYN7_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library) dlclose(library);
  }

  EntryPoint Entry(const char* name) { return reinterpret_cast<EntryPoint>(dlsym(library, name)); }

  VstIntPtr Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  void* library = nullptr;
};

}  // namespace

TEST_F(PluginLoad, BothEntryPointsGiveThePublishedRecord) {
  for (const char* name : {"VSTPluginMain", "main"}) {
    EntryPoint entry = Entry(name);
    ASSERT_NE(entry, nullptr) << name;
    AEffect* effect = entry(&QuietHost);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->flags, 0x1139);  // with the editor (X11)
    EXPECT_EQ(effect->uniqueID, 0x74737937);
    EXPECT_EQ(effect->version, 20501);
    EXPECT_EQ(effect->numPrograms, 64);
    EXPECT_EQ(effect->numParams, 80);
    EXPECT_EQ(effect->numInputs, 1);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    Dispatch(effect, effClose);
  }
}

TEST_F(PluginLoad, OpensRendersSilenceAndCloses) {
  AEffect* effect = Entry("VSTPluginMain")(&QuietHost);
  ASSERT_NE(effect, nullptr);
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Dispatch(effect, effSetBlockSize, 0, 256);
  Dispatch(effect, effMainsChanged, 0, 1);
  EXPECT_EQ(Dispatch(effect, effGetVstVersion), kVstVersion);
  EXPECT_EQ(Dispatch(effect, effGetPlugCategory), kPlugCategorySynth);
  char name[kVstMaxEffectNameLength] = {};
  EXPECT_EQ(Dispatch(effect, effGetEffectName, 0, 0, name), 1);
  EXPECT_STREQ(name, "Tarsyn7");

  // More frames than announced must still be handled without overrunning anything.
  std::vector<float> input(1000, 0.5f), left(1000, 1.0f), right(1000, 1.0f);
  float* inputs[] = {input.data()};
  float* outputs[] = {left.data(), right.data()};
  effect->processReplacing(effect, inputs, outputs, 1000);
  // Silent but for the filters' tiny offsets against denormals.
  for (const std::vector<float>* channel : {&left, &right}) {
    for (float sample : *channel) ASSERT_LT(std::fabs(sample), 1e-9f);
  }

  EXPECT_FLOAT_EQ(effect->getParameter(effect, 0), 0.87f);  // "Volume" of "Strings", program 1
  effect->setParameter(effect, 0, 0.25f);
  EXPECT_FLOAT_EQ(effect->getParameter(effect, 0), 0.25f);
  EXPECT_EQ(effect->getParameter(effect, 80), 0.0f);

  Dispatch(effect, effMainsChanged, 0, 0);
  Dispatch(effect, effClose);
}

TEST_F(PluginLoad, NullObjectAnswersZero) {
  AEffect* effect = Entry("VSTPluginMain")(&QuietHost);
  ASSERT_NE(effect, nullptr);
  AEffect orphan = *effect;
  orphan.object = nullptr;
  EXPECT_EQ(orphan.dispatcher(&orphan, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  Dispatch(effect, effClose);
}
