#pragma once

#include <algorithm>
#include <limits>

enum class EnvelopeStage { Idle = 0, Attack = 1, Decay = 2, Slope = 3, Release = 4 };

// Six-parameter envelope generator (attack, decay, break point, slope, sustain, release),
// stepped once per sample. In linear mode ("Legacy Mode") each stage ramps in a straight
// line with table times; otherwise each stage approaches a target like a charging
// capacitor. Every stage change loads the speeds of both modes, so the mode may switch at
// any moment and the envelope carries on from its current level.
class DigitalEnvelope {
  friend struct EnvelopeLanes;

 public:
  // Exponential targets lie beyond the level where a stage ends, so each stage reaches its
  // end in finite time: attack aims above 1, decay below the break point, release below 0.
  static constexpr double kOvershoot = 1.0 / 9.0;
  // An exponential slope towards a sustain of 0 never arrives; below this level it counts
  // as silent, which also keeps the level out of subnormal numbers.
  static constexpr double kSilentLevel = 1e-12;

  DigitalEnvelope();  // time constants for 1000 Hz until the first SetSampleRate

  // Time constants for the rate, Idle at level 0. A rate of 0 or less changes nothing.
  void SetSampleRate(double rate);
  void SetLinearMode(bool linear) { linear_ = linear; }
  bool LinearMode() const { return linear_; }

  // Attack from the current level (a retrigger does not restart from 0).
  void EnvelopeStart();
  // Release, or Idle at once when the level is 0 or less.
  void EnvelopeRelease();
  // Idle at level 0 at once, without a release.
  void Silence() { Finish(); }
  // Advances one sample; read Level() afterwards.
  void EnvelopeStep() {
    if (stage_ == EnvelopeStage::Idle) return;
    if (linear_) {
      StepLinear();
    } else {
      StepExponential();
    }
  }

  // Normalised times 0..1. Changing the time of the running stage changes its speed at once.
  void SetAttack(double t) { SetTime(attack_, EnvelopeStage::Attack, t); }
  void SetDecay(double t) { SetTime(decay_, EnvelopeStage::Decay, t); }
  void SetSlope(double t) { SetTime(slope_, EnvelopeStage::Slope, t); }
  void SetRelease(double t) { SetTime(release_, EnvelopeStage::Release, t); }
  // Normalised levels 0..1, stored times 0.99 when set in linear mode (kept when the mode
  // changes later).
  // The six settings in panel order: attack, decay, break point, slope, sustain, release.
  enum Setting { kAttack, kDecay, kBreakPoint, kSlope, kSustain, kRelease, kSettingCount };
  void SetParameter(int setting, double n);

  void SetBreakPoint(double v);
  void SetSustain(double v);

  double Level() const { return level_; }
  // The legacy retrigger of the filter envelope starts from 0.
  void SetLevel(double level) { level_ = level; }
  EnvelopeStage Stage() const { return stage_; }
  bool IsIdle() const { return stage_ == EnvelopeStage::Idle; }

 private:
  // Speeds of one time parameter, recomputed when the time or the sample rate changes so
  // that stage changes inside the per-sample step only copy them.
  struct Segment {
    double time = 0.0;         // normalised
    double coefficient = 0.0;  // exponential: share of the distance to the target per sample
    double increment = 0.0;    // linear: level change per sample
  };

  // How the running stage moves and where it ends, in both modes. Kept up to date by every
  // change of stage, time or level setting, so that a step (also one on lanes, see
  // EnvelopeLanes) only reads it. Bounds that cannot be reached are infinite.
  struct Motion {
    double endBelow = -kNever;  // exponential: the stage ends at or below this level
    double endAbove = kNever;   // ... or at or above this one
    double linearEndBelow = -kNever;
    double linearEndAbove = kNever;
    double riseBy = 0.0;  // linear: up by riseBy while at or below riseUntil
    double riseUntil = -kNever;
    double fallBy = 0.0;  // linear: down by fallBy while at or above fallFrom
    double fallFrom = kNever;
  };
  static constexpr double kNever = std::numeric_limits<double>::infinity();

  void SetTime(Segment& segment, EnvelopeStage owner, double t);
  void UpdateSpeeds(Segment& segment) const;
  void Enter(EnvelopeStage stage, const Segment& segment, double target);
  void UpdateMotion();
  // A step reached the end of the stage: on to the next one.
  void EndStage();
  void Finish();
  void EndAttack();
  void EndDecay();
  void StepLinear();
  void StepExponential();

  double level_ = 0.0;
  EnvelopeStage stage_ = EnvelopeStage::Idle;
  bool linear_ = false;

  Segment attack_;
  Segment decay_;
  Segment slope_;
  Segment release_;
  double breakPoint_ = 0.0;
  double sustain_ = 0.0;

  double target_ = 0.0;
  double coefficient_ = 0.0;
  double increment_ = 0.0;
  Motion motion_;

  double sampleTime_;  // 1 / rate
  double rateScale_;   // ln(10) / rate
};

// The per-sample step and what it calls, here so that it is inlined into the voices.
inline void DigitalEnvelope::Enter(EnvelopeStage stage, const Segment& segment, double target) {
  stage_ = stage;
  target_ = target;
  coefficient_ = segment.coefficient;
  increment_ = segment.increment;
  UpdateMotion();
}

inline void DigitalEnvelope::Finish() {
  level_ = 0.0;
  stage_ = EnvelopeStage::Idle;
  motion_ = Motion{};
}
// Full scale reached: on to the break point.
inline void DigitalEnvelope::EndAttack() {
  level_ = 1.0;
  Enter(EnvelopeStage::Decay, decay_, breakPoint_ - kOvershoot);
}

// Break point reached: on towards the sustain level.
inline void DigitalEnvelope::EndDecay() {
  level_ = breakPoint_;
  Enter(EnvelopeStage::Slope, slope_, sustain_);
}

inline void DigitalEnvelope::StepLinear() {
  level_ = std::clamp(level_, 0.0, 1.0);
  if (level_ <= motion_.linearEndBelow || level_ >= motion_.linearEndAbove) {
    EndStage();
    return;
  }
  level_ = level_ + (level_ <= motion_.riseUntil ? motion_.riseBy : 0.0) -
           (level_ >= motion_.fallFrom ? motion_.fallBy : 0.0);
}

inline void DigitalEnvelope::StepExponential() {
  level_ += (target_ - level_) * coefficient_;
  if (level_ <= motion_.endBelow || level_ >= motion_.endAbove) EndStage();
}

inline void DigitalEnvelope::EndStage() {
  switch (stage_) {
    case EnvelopeStage::Attack:
      EndAttack();
      break;
    case EnvelopeStage::Decay:
      EndDecay();
      break;
    default:  // the release ended, or the exponential slope fell silent
      Finish();
      break;
  }
}
