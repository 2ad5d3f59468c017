#include "engine/DigitalEnvelope.h"

#include <algorithm>
#include <cmath>

#include "engine/DegTimeTable.h"

namespace {

constexpr double kLn10 = 2.302585092994046;
constexpr double kInitialRate = 1000.0;

constexpr double kOvershoot = DigitalEnvelope::kOvershoot;
constexpr double kAttackTarget = 1.0 + kOvershoot;
constexpr double kReleaseTarget = -kOvershoot;

// Linear mode never lets a stored level reach full scale.
constexpr double kLinearLevelScale = 0.99;

// Exponential speed k(t) per second of a normalised time parameter. One parameter change
// reaches the envelopes of all 64 voices in turn with the same time, so the last power
// is kept (per thread: plug-in objects may run on several).
double ExponentialRate(double t) {
  thread_local double lastTime = -1.0;
  thread_local double lastRate = 0.0;
  if (t != lastTime) {
    lastTime = t;
    lastRate = std::pow(5.0, 3.3 - 7.5 * t) + 0.05;
  }
  return lastRate;
}

}  // namespace

DigitalEnvelope::DigitalEnvelope()
    : sampleTime_(1.0 / kInitialRate), rateScale_(kLn10 / kInitialRate) {
  for (Segment* segment : {&attack_, &decay_, &slope_, &release_}) UpdateSpeeds(*segment);
}

void DigitalEnvelope::SetSampleRate(double rate) {
  if (!(rate > 0.0)) return;
  sampleTime_ = 1.0 / rate;
  rateScale_ = kLn10 / rate;
  for (Segment* segment : {&attack_, &decay_, &slope_, &release_}) UpdateSpeeds(*segment);
  Finish();
}

void DigitalEnvelope::EnvelopeStart() {
  Enter(EnvelopeStage::Attack, attack_, kAttackTarget);
  // An attack time of 0 has its own calibration.
  if (attack_.time <= 0.0) coefficient_ = std::pow(10.0, 2.3 - 4.5 * attack_.time) * rateScale_;
}

void DigitalEnvelope::EnvelopeRelease() {
  if (level_ > 0.0) {
    Enter(EnvelopeStage::Release, release_, kReleaseTarget);
  } else {
    Finish();
  }
}

void DigitalEnvelope::SetBreakPoint(double v) {
  breakPoint_ = linear_ ? v * kLinearLevelScale : v;
  if (stage_ == EnvelopeStage::Decay) target_ = breakPoint_ - kOvershoot;
  UpdateMotion();
}

void DigitalEnvelope::SetSustain(double v) {
  sustain_ = linear_ ? v * kLinearLevelScale : v;
  if (stage_ == EnvelopeStage::Slope) target_ = sustain_;
  UpdateMotion();
}

void DigitalEnvelope::SetTime(Segment& segment, EnvelopeStage owner, double t) {
  segment.time = t;
  UpdateSpeeds(segment);
  if (stage_ != owner) return;
  coefficient_ = segment.coefficient;
  increment_ = segment.increment;
  UpdateMotion();
}

// Attack rises to full scale, decay falls to the break point, the slope moves from the
// break point towards the sustain level (linear: passing it by less than a step, then
// holding; exponential: ending only where it falls silent), release falls to 0.
void DigitalEnvelope::UpdateMotion() {
  Motion m;
  switch (stage_) {
    case EnvelopeStage::Attack:
      m.endAbove = m.linearEndAbove = 1.0;
      m.riseBy = increment_;
      m.riseUntil = kNever;
      break;
    case EnvelopeStage::Decay:
      m.endBelow = m.linearEndBelow = breakPoint_;
      m.fallBy = increment_;
      m.fallFrom = -kNever;
      break;
    case EnvelopeStage::Slope:
      m.endBelow = kSilentLevel;
      if (breakPoint_ < sustain_) {
        m.riseBy = increment_;
        m.riseUntil = sustain_;
      } else if (sustain_ < breakPoint_) {
        m.fallBy = increment_;
        m.fallFrom = sustain_;
      }
      break;
    case EnvelopeStage::Release:
      m.endBelow = kSilentLevel;
      m.linearEndBelow = 0.0;
      m.fallBy = increment_;
      m.fallFrom = -kNever;
      break;
    case EnvelopeStage::Idle:
      break;
  }
  motion_ = m;
}

void DigitalEnvelope::UpdateSpeeds(Segment& segment) const {
  segment.coefficient = ExponentialRate(segment.time) * rateScale_;
  segment.increment = sampleTime_ / DegSegmentTime(segment.time);  // full scale in the time
}

void DigitalEnvelope::SetParameter(int setting, double n) {
  switch (setting) {
    case kAttack:
      SetAttack(n);
      break;
    case kDecay:
      SetDecay(n);
      break;
    case kBreakPoint:
      SetBreakPoint(n);
      break;
    case kSlope:
      SetSlope(n);
      break;
    case kSustain:
      SetSustain(n);
      break;
    case kRelease:
      SetRelease(n);
      break;
    default:
      break;
  }
}
