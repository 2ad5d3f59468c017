#include "engine/EnvelopeLanes.h"

void EnvelopeLanes::SilenceFrom(int l) {
  for (; l < kLanes; ++l) {
    level[l] = target_[l] = coefficient_[l] = 0.0;
    SetMotion(l, Motion{}, false);
  }
}

void EnvelopeLanes::Load(int l, DigitalEnvelope* envelope) {
  envelopes[l] = envelope;
  const Mode mode = envelope->LinearMode() ? kLinear : kExponential;
  if (loaded_++ == 0) {
    mode_ = mode;
  } else if (mode != mode_) {
    mode_ = kMixed;
  }
  LoadState(l);
}

void EnvelopeLanes::LoadState(int l) {
  const DigitalEnvelope* envelope = envelopes[l];
  level[l] = envelope->level_;
  SetMotion(l, envelope->motion_, envelope->LinearMode());
  // An idle envelope keeps its level: a step towards itself at speed 0.
  const bool idle = envelope->IsIdle();
  target_[l] = idle ? envelope->level_ : envelope->target_;
  coefficient_[l] = idle ? 0.0 : envelope->coefficient_;
}

void EnvelopeLanes::Store(int lanes) const {
  if (mode_ == kMixed) return;  // they stepped themselves
  for (int l = 0; l < lanes; ++l) envelopes[l]->level_ = level[l];
}

void EnvelopeLanes::EndStage(int l, double atLevel) {
  DigitalEnvelope* envelope = envelopes[l];
  envelope->level_ = atLevel;
  envelope->EndStage();
  LoadState(l);
}

void EnvelopeLanes::SetMotion(int l, const Motion& m, bool linear) {
  endBelow_[l] = linear ? m.linearEndBelow : m.endBelow;
  endAbove_[l] = linear ? m.linearEndAbove : m.endAbove;
  riseBy_[l] = m.riseBy;
  riseUntil_[l] = m.riseUntil;
  fallBy_[l] = m.fallBy;
  fallFrom_[l] = m.fallFrom;
}
