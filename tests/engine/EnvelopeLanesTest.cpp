// Envelopes stepped side by side on lanes against the same envelopes stepping themselves.
#include <gtest/gtest.h>

#include "engine/EnvelopeLanes.h"

namespace {

constexpr int kLanes = EnvelopeLanes::kLanes;
constexpr int kRun = 32;

// Short stages at a low rate, break points and sustain levels above, below and at each
// other, one lane never started and the last without a voice (it must stay silent);
// released, retimed and switched in mode between runs, so that the lanes also come to rest
// in sustains and at the end, and leave the rest again.
template <typename Vector>
void RenderBesideSelfStepping(bool linear) {
  constexpr int kVoices = kLanes - 1;
  DigitalEnvelope onLanes[kVoices];
  DigitalEnvelope alone[kVoices];
  for (int l = 0; l < kVoices; ++l) {
    for (DigitalEnvelope* e : {&onLanes[l], &alone[l]}) {
      e->SetSampleRate(1000.0);
      e->SetLinearMode(linear);
      e->SetAttack(0.03 * l);
      e->SetDecay(0.1 + 0.02 * l);
      e->SetBreakPoint(0.3 + 0.08 * l);
      e->SetSlope(0.2);
      e->SetSustain((l % 3) * 0.4);
      e->SetRelease(0.15);
      if (l < kVoices - 1) e->EnvelopeStart();
    }
  }
  for (int run = 0; run < 40; ++run) {
    for (int l = 0; l < kVoices; ++l) {
      for (DigitalEnvelope* e : {&onLanes[l], &alone[l]}) {
        if (run == 6) e->SetDecay(0.05);
        if (run == 12) e->SetSustain(0.5);
        if (run == 20 && l < 4) e->EnvelopeRelease();
        if (run == 26) e->SetLinearMode(!linear);
        if (run == 30) e->EnvelopeRelease();
      }
    }
    EnvelopeLanes lanes;
    for (int l = 0; l < kVoices; ++l) lanes.Load(l, &onLanes[l]);
    for (int s = 0; s < kRun; ++s) {
      lanes.Step<Vector>(kVoices);
      for (int l = 0; l < kVoices; ++l) {
        alone[l].EnvelopeStep();
        ASSERT_EQ(lanes.level[l], alone[l].Level()) << "run " << run << " lane " << l;
      }
      ASSERT_EQ(lanes.level[kVoices], 0.0) << "run " << run;
    }
    lanes.Store(kVoices);
    for (int l = 0; l < kVoices; ++l) ASSERT_EQ(onLanes[l].Stage(), alone[l].Stage());
  }
  for (const DigitalEnvelope& e : onLanes) EXPECT_TRUE(e.IsIdle());
}

TEST(EnvelopeLanes, StepExactlyAsTheEnvelopesThemselvesInEitherModeAndWidth) {
  for (bool linear : {false, true}) {
    RenderBesideSelfStepping<DoublePair>(linear);
    RenderBesideSelfStepping<DoubleQuad>(linear);
  }
}

TEST(EnvelopeLanes, LanesOfDifferentModesStepThemselves) {
  DigitalEnvelope onLanes[2];
  DigitalEnvelope alone[2];
  for (int l = 0; l < 2; ++l) {
    for (DigitalEnvelope* e : {&onLanes[l], &alone[l]}) {
      e->SetSampleRate(1000.0);
      e->SetLinearMode(l == 0);
      e->SetBreakPoint(0.5);
      e->SetSustain(0.2);
      e->EnvelopeStart();
    }
  }
  EnvelopeLanes lanes;
  for (int l = 0; l < 2; ++l) lanes.Load(l, &onLanes[l]);
  for (int s = 0; s < 200; ++s) {
    lanes.Step<DoublePair>(2);
    for (int l = 0; l < 2; ++l) {
      alone[l].EnvelopeStep();
      ASSERT_EQ(lanes.level[l], alone[l].Level());
    }
  }
  lanes.Store(2);
  for (int l = 0; l < 2; ++l) EXPECT_EQ(onLanes[l].Level(), alone[l].Level());
}

}  // namespace
