// Envelopes stepped side by side on lanes against the same envelopes stepping themselves.
#include <gtest/gtest.h>

#include "engine/EnvelopeLanes.h"

namespace {

constexpr int kLanes = EnvelopeLanes::kLanes;
constexpr int kRun = 32;

// Short stages at a low rate, break points and sustain levels above, below and at each
// other, one lane never started; released, retimed and switched in mode between runs.
template <typename Vector>
void RenderBesideSelfStepping(bool linear) {
  DigitalEnvelope onLanes[kLanes];
  DigitalEnvelope alone[kLanes];
  for (int l = 0; l < kLanes; ++l) {
    for (DigitalEnvelope* e : {&onLanes[l], &alone[l]}) {
      e->SetSampleRate(1000.0);
      e->SetLinearMode(linear);
      e->SetAttack(0.03 * l);
      e->SetDecay(0.1 + 0.02 * l);
      e->SetBreakPoint(0.3 + 0.08 * l);
      e->SetSlope(0.2);
      e->SetSustain((l % 3) * 0.4);
      e->SetRelease(0.15);
      if (l < kLanes - 1) e->EnvelopeStart();
    }
  }
  for (int run = 0; run < 40; ++run) {
    for (int l = 0; l < kLanes; ++l) {
      for (DigitalEnvelope* e : {&onLanes[l], &alone[l]}) {
        if (run == 6) e->SetDecay(0.05);
        if (run == 12) e->SetSustain(0.5);
        if (run == 20 && l < 4) e->EnvelopeRelease();
        if (run == 26) e->SetLinearMode(!linear);
        if (run == 30) e->EnvelopeRelease();
      }
    }
    EnvelopeLanes lanes;
    for (int l = 0; l < kLanes; ++l) lanes.Load(l, &onLanes[l]);
    for (int s = 0; s < kRun; ++s) {
      lanes.Step<Vector>(kLanes);
      for (int l = 0; l < kLanes; ++l) {
        alone[l].EnvelopeStep();
        ASSERT_EQ(lanes.level[l], alone[l].Level()) << "run " << run << " lane " << l;
      }
    }
    lanes.Store(kLanes);
    for (int l = 0; l < kLanes; ++l) ASSERT_EQ(onLanes[l].Stage(), alone[l].Stage());
  }
  for (const DigitalEnvelope& e : onLanes) EXPECT_TRUE(e.IsIdle());
}

TEST(EnvelopeLanes, StepExactlyAsTheEnvelopesThemselvesInEitherModeAndWidth) {
  for (bool linear : {false, true}) {
    RenderBesideSelfStepping<DoublePair>(linear);
    RenderBesideSelfStepping<DoubleQuad>(linear);
  }
}

// Fewer voices than lanes, in sustains that come to rest (a step no longer changes the
// level) and are then released: held lanes must leave their rest on the envelope's own
// sample, and the lanes without a voice must read silence.
void RestBesideEmptyLanes(bool linear) {
  constexpr int kVoices = 3;
  DigitalEnvelope onLanes[kVoices];
  DigitalEnvelope alone[kVoices];
  for (int l = 0; l < kVoices; ++l) {
    for (DigitalEnvelope* e : {&onLanes[l], &alone[l]}) {
      e->SetSampleRate(1000.0);
      e->SetLinearMode(linear);
      e->SetBreakPoint(0.5);
      e->SetSustain(0.2 + 0.3 * l);
      e->EnvelopeStart();
    }
  }
  bool rested = false;
  for (int run = 0; run < 120; ++run) {
    if (run == 100) {
      ASSERT_TRUE(rested) << "the sustains never came to rest";
      for (int l = 0; l < kVoices; ++l) {
        onLanes[l].EnvelopeRelease();
        alone[l].EnvelopeRelease();
      }
    }
    EnvelopeLanes lanes;
    for (int l = 0; l < kVoices; ++l) lanes.Load(l, &onLanes[l]);
    for (int s = 0; s < kRun; ++s) {
      lanes.Step<DoubleQuad>(kVoices);
      for (int l = 0; l < kLanes; ++l) {
        double expected = 0.0;
        if (l < kVoices) {
          const double before = alone[l].Level();
          alone[l].EnvelopeStep();
          expected = alone[l].Level();
          rested |= run > 0 && expected == before;
        }
        ASSERT_EQ(lanes.level[l], expected) << "run " << run << " lane " << l;
      }
    }
    lanes.Store(kVoices);
  }
}

TEST(EnvelopeLanes, LanesAtRestLeaveItWithTheirEnvelopesAndEmptyLanesStaySilent) {
  RestBesideEmptyLanes(false);
  RestBesideEmptyLanes(true);
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
