#include "engine/DigitalEnvelope.h"

#include <algorithm>
#include <cmath>

#include "engine/DegTimeTable.h"

namespace {

constexpr double kLn10 = 2.302585092994046;
constexpr double kInitialRate = 1000.0;

// Exponential targets lie beyond the level where a stage ends, so each stage reaches
// its end in finite time: attack aims above 1, decay below the break point, release below 0.
constexpr double kOvershoot = 1.0 / 9.0;
constexpr double kAttackTarget = 1.0 + kOvershoot;
constexpr double kReleaseTarget = -kOvershoot;

// Linear mode never lets a stored level reach full scale.
constexpr double kLinearLevelScale = 0.99;

// An exponential slope towards a sustain of 0 never arrives; below this level it counts
// as silent, which also keeps the level out of subnormal numbers.
constexpr double kSilentLevel = 1e-12;

// Exponential speed k(t) per second of a normalised time parameter.
double ExponentialRate(double t) {
  return std::pow(5.0, 3.3 - 7.5 * t) + 0.05;
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
}

void DigitalEnvelope::SetSustain(double v) {
  sustain_ = linear_ ? v * kLinearLevelScale : v;
  if (stage_ == EnvelopeStage::Slope) target_ = sustain_;
}

void DigitalEnvelope::SetTime(Segment& segment, EnvelopeStage owner, double t) {
  segment.time = t;
  UpdateSpeeds(segment);
  if (stage_ != owner) return;
  coefficient_ = segment.coefficient;
  increment_ = segment.increment;
}

void DigitalEnvelope::UpdateSpeeds(Segment& segment) const {
  segment.coefficient = ExponentialRate(segment.time) * rateScale_;
  segment.increment = sampleTime_ / DegSegmentTime(segment.time);  // full scale in the time
}

void DigitalEnvelope::Enter(EnvelopeStage stage, const Segment& segment, double target) {
  stage_ = stage;
  target_ = target;
  coefficient_ = segment.coefficient;
  increment_ = segment.increment;
}

void DigitalEnvelope::Finish() {
  level_ = 0.0;
  stage_ = EnvelopeStage::Idle;
}

void DigitalEnvelope::StepLinear() {
  level_ = std::clamp(level_, 0.0, 1.0);
  switch (stage_) {
    case EnvelopeStage::Attack:
      if (level_ < 1.0) {
        level_ += increment_;
      } else {
        level_ = 1.0;
        Enter(EnvelopeStage::Decay, decay_, breakPoint_ - kOvershoot);
      }
      break;
    case EnvelopeStage::Decay:
      if (level_ <= breakPoint_) {
        level_ = breakPoint_;
        Enter(EnvelopeStage::Slope, slope_, sustain_);
      } else {
        level_ -= increment_;
      }
      break;
    case EnvelopeStage::Slope:
      // Moves from the break point towards the sustain level, may pass it by less than
      // one increment, then holds.
      if (level_ <= sustain_ && breakPoint_ < sustain_) {
        level_ += increment_;
      } else if (level_ >= sustain_ && sustain_ < breakPoint_) {
        level_ -= increment_;
      }
      break;
    case EnvelopeStage::Release:
      if (level_ <= 0.0) {
        Finish();
      } else {
        level_ -= increment_;
      }
      break;
    case EnvelopeStage::Idle:
      break;
  }
}

void DigitalEnvelope::StepExponential() {
  level_ += (target_ - level_) * coefficient_;
  switch (stage_) {
    case EnvelopeStage::Attack:
      if (level_ >= 1.0) {
        level_ = 1.0;
        Enter(EnvelopeStage::Decay, decay_, breakPoint_ - kOvershoot);
      }
      break;
    case EnvelopeStage::Decay:
      if (level_ <= breakPoint_) {
        level_ = breakPoint_;
        Enter(EnvelopeStage::Slope, slope_, sustain_);
      }
      break;
    case EnvelopeStage::Slope:
    case EnvelopeStage::Release:
      if (level_ <= kSilentLevel) Finish();
      break;
    case EnvelopeStage::Idle:
      break;
  }
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
