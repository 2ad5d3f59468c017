#pragma once

#include "engine/DigitalEnvelope.h"
#include "engine/Lanes.h"

// The same envelope (DEG1, DEG2 or DEG3) of several voices side by side, one voice per lane,
// stepped together for a run of samples: the step of DigitalEnvelope on lane vectors, in
// either mode. A lane whose stage ends goes back to its envelope for the next stage, as
// happens rarely. Should the lanes' modes differ, each envelope steps itself. Lanes beyond
// the voices stay silent. Lanes that all hold their levels (sustains of a held chord)
// cost nothing for the rest of the run.
struct EnvelopeLanes {
  static constexpr int kLanes = 8;
  using Motion = DigitalEnvelope::Motion;

  // Takes an envelope into lane l for the run; lanes 0, 1, ... in turn.
  void Load(int l, DigitalEnvelope* envelope);
  // Gives the lanes' levels back to their envelopes at the end of the run.
  void Store(int lanes) const;

  // One sample of every lane; level[l] holds the new levels.
  template <typename Vector>
  void Step(int lanes);

  DigitalEnvelope* envelopes[kLanes] = {};
  alignas(32) double level[kLanes];

 private:
  enum Mode { kExponential, kLinear, kMixed };

  void LoadState(int l);
  // Lanes from l on: level 0, at rest.
  void SilenceFrom(int l);
  void SetMotion(int l, const Motion& m, bool linear);
  void EndStage(int l, double level);
  template <typename Vector>
  auto StepExponential(int v);
  template <typename Vector>
  auto StepLinear(int v);

  int loaded_ = 0;
  Mode mode_ = kExponential;
  bool firstStep_ = true;  // of the run: the lanes without a voice are set up then
  // The run's first step changed no level and ended no stage, so no later step of the
  // run would either: the lanes hold their levels (a sustain, an envelope at rest).
  bool holding_ = false;
  alignas(32) double reached_[kLanes];  // the level the step's end was judged by
  alignas(32) double target_[kLanes];
  alignas(32) double coefficient_[kLanes];
  // The lanes' DigitalEnvelope::Motion, field by field.
  alignas(32) double endBelow_[kLanes];
  alignas(32) double endAbove_[kLanes];
  alignas(32) double riseBy_[kLanes];
  alignas(32) double riseUntil_[kLanes];
  alignas(32) double fallBy_[kLanes];
  alignas(32) double fallFrom_[kLanes];
};

// DigitalEnvelope::StepExponential; true where the stage ended.
template <typename Vector>
TARSYN7_LANE_KERNEL auto EnvelopeLanes::StepExponential(int v) {
  Vector x = LoadLanes<Vector>(level + v);
  x += (LoadLanes<Vector>(target_ + v) - x) * LoadLanes<Vector>(coefficient_ + v);
  StoreLanes(level + v, x);
  StoreLanes(reached_ + v, x);
  return (x <= LoadLanes<Vector>(endBelow_ + v)) | (x >= LoadLanes<Vector>(endAbove_ + v));
}

// DigitalEnvelope::StepLinear; true where the stage ended.
template <typename Vector>
TARSYN7_LANE_KERNEL auto EnvelopeLanes::StepLinear(int v) {
  const Vector zero{};
  Vector x = LoadLanes<Vector>(level + v);
  x = Select(x < 0.0, zero, Select(x > 1.0, zero + 1.0, x));
  const Vector rise =
      Select(x <= LoadLanes<Vector>(riseUntil_ + v), LoadLanes<Vector>(riseBy_ + v), zero);
  const Vector fall =
      Select(x >= LoadLanes<Vector>(fallFrom_ + v), LoadLanes<Vector>(fallBy_ + v), zero);
  StoreLanes(level + v, x + rise - fall);
  StoreLanes(reached_ + v, x);
  return (x <= LoadLanes<Vector>(endBelow_ + v)) | (x >= LoadLanes<Vector>(endAbove_ + v));
}

template <typename Vector>
TARSYN7_LANE_KERNEL void EnvelopeLanes::Step(int lanes) {
  if (holding_) return;
  const bool first = firstStep_;
  if (first) {
    firstStep_ = false;
    SilenceFrom(loaded_);
  }
  if (mode_ == kMixed) {
    for (int l = 0; l < lanes; ++l) {
      envelopes[l]->EnvelopeStep();
      level[l] = envelopes[l]->Level();
    }
    return;
  }
  // The stages end rarely: one look at all lanes' ends, then the lanes that did.
  decltype(StepLinear<Vector>(0)) ended{};
  decltype(ended) moved{};
  for (int v = 0; v < kLanes; v += kLaneWidth<Vector>) {
    const Vector before = LoadLanes<Vector>(level + v);
    ended |= mode_ == kLinear ? StepLinear<Vector>(v) : StepExponential<Vector>(v);
    if (first) moved |= LoadLanes<Vector>(level + v) != before;
  }
  if (!AnyLane(ended)) {
    holding_ = first && !AnyLane(moved);
    return;
  }
  for (int l = 0; l < kLanes; ++l) {
    if (reached_[l] <= endBelow_[l] || reached_[l] >= endAbove_[l]) EndStage(l, reached_[l]);
  }
}
