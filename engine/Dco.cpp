#include "engine/Dco.h"

#include <algorithm>
#include <cmath>

#include "engine/IncrementTable.h"
#include "engine/Lanes.h"
#include "engine/SquareTables.h"

static_assert(IncrementTable::kFootageCount == Dco::kFootageCount);
static_assert(DcoReader::kFootageCount == Dco::kFootageCount);

namespace {

constexpr double kNoBend = 0.0;

// Footage gain = (kOrganWeight + w * kSawSlope) * level: with waveform 1 every
// footage weighs the same, with waveform 2 they weigh 1, 1/2, 1/4 and 1/8 and
// the octave squares add up to a stepped sawtooth.
constexpr double kOrganWeight = 0.46875;
constexpr std::array<double, Dco::kFootageCount> kSawSlope = {0.53125, 0.03125, -0.21875, -0.34375};

// Detune in 1/128 semitones: the legacy curve climbs in two slopes over the
// plain values 0-3 (up to 36), the current one is quadratic (up to 50).
int DetuneUnits(double n, bool legacy) {
  if (!legacy) return static_cast<int>(std::lround(n * n * 50.0));
  const double x = 3.0 * n;
  return static_cast<int>(std::floor(x <= 2.0 ? 8.0 * x : 18.0 * (x - 1.0)));
}

// DcoReader::Next for a run of samples from a reader of kCount footages, its tables, gains
// and phase held in registers throughout. The sum starts from the first footage: adding it
// to 0.0 changes no value.
template <int kCount>
TARSYN7_LANE_KERNEL void ReadFootages(DcoReader& reader, double* out, int stride, int frames) {
  const double* tables[kCount];
  double gains[kCount];
  for (int f = 0; f < kCount; ++f) {
    tables[f] = reader.tables[f];
    gains[f] = reader.gains[f];
  }
  uint32_t phase = reader.phase;
  const uint32_t increment = reader.increment;
  for (int s = 0; s < frames; ++s) {
    double sample = tables[0][phase >> 16] * gains[0];  // a 27-bit phase leaves 11 bits
    for (int f = 1; f < kCount; ++f) {
      sample += tables[f][(phase >> (16 - f)) & DcoReader::kTableMask] * gains[f];
    }
    phase = (phase + increment) & DcoReader::kPhaseMask;
    out[s * stride] = sample;
  }
  reader.phase = phase;
}

// A run from the reader's footage mix: one look-up a sample.
TARSYN7_LANE_KERNEL void ReadMix(DcoReader& reader, double* out, int stride, int frames) {
  const double* entries = reader.mix.entries;
  const int shift = reader.mix.shift;
  uint32_t phase = reader.phase;
  const uint32_t increment = reader.increment;
  for (int s = 0; s < frames; ++s) {
    out[s * stride] = entries[phase >> shift];
    phase = (phase + increment) & DcoReader::kPhaseMask;
  }
  reader.phase = phase;
}

TARSYN7_LANE_KERNEL void ReadAnyCount(DcoReader& reader, double* out, int stride, int frames) {
  if (reader.mix.Valid()) return ReadMix(reader, out, stride, frames);
  switch (reader.count) {
    case 1:
      return ReadFootages<1>(reader, out, stride, frames);
    case 2:
      return ReadFootages<2>(reader, out, stride, frames);
    case 3:
      return ReadFootages<3>(reader, out, stride, frames);
    case 4:
      return ReadFootages<4>(reader, out, stride, frames);
    default:
      for (int s = 0; s < frames; ++s) out[s * stride] = reader.Next();
      return;
  }
}

// The same code compiled for processors with AVX2 (with BMI2): fewer instructions a read.
TARSYN7_WIDE_LANES void ReadWide(DcoReader& reader, double* out, int stride, int frames) {
  ReadAnyCount(reader, out, stride, frames);
}

}  // namespace

void DcoReader::ReadRun(double* out, int stride, int frames) {
  if (WideLanes()) {
    ReadWide(*this, out, stride, frames);
  } else {
    ReadAnyCount(*this, out, stride, frames);
  }
}

Dco::Dco() : squares_(&SquareTables::Get()), pitchBend_(&kNoBend) {}

void Dco::SetSampleRate(IncrementTable& increments, double sampleRate) {
  increments.SetSampleRate(sampleRate);
  increments_ = &increments;
  reader_.phase = 0;
  lastIndex_ = -1;  // the same index may need other tables at another rate
}

void Dco::SetOctave(int octave) {
  octave_ = octave;
  UpdatePitchOffset();
}

void Dco::SetInterval(int semitones) {
  interval_ = semitones;
  UpdatePitchOffset();
}

void Dco::SetDetune(double n) {
  detune_ = n;
  UpdatePitchOffset();
}

void Dco::SetLegacyDetune(bool legacy) {
  legacyDetune_ = legacy;
  UpdatePitchOffset();
}

void Dco::UpdatePitchOffset() {
  pitchOffset_ =
      (interval_ + 12 * octave_) * kStepsPerSemitone - DetuneUnits(detune_, legacyDetune_);
}

void Dco::SetWaveform(double w) {
  waveform_ = w;
  UpdateGains();
}

void Dco::SetFootageLevel(Footage footage, double level) {
  levels_[footage] = level;
  UpdateGains();
}

void Dco::UpdateGains() {
  for (int f = 0; f < kFootageCount; ++f) {
    gains_[f] = (kOrganWeight + waveform_ * kSawSlope[f]) * levels_[f];
  }
  UpdateReader();
}

void Dco::SetPitch(double p) {
  if (increments_ == nullptr) return;
  const double wanted = pitchOffset_ + p + *pitchBend_;
  // Saturate before truncating, so no value (not even NaN) leaves 0..kPitchIndexMax.
  const int index =
      wanted > 0.0 ? static_cast<int>(std::min(wanted, static_cast<double>(kPitchIndexMax))) : 0;
  reader_.increment = static_cast<uint32_t>(increments_->At(index));
  if (index == lastIndex_) return KeepMix();
  lastIndex_ = index;
  ChooseTables(index);
}

void Dco::BindFootageMixes(FootageMixes* mixes) {
  mixes_ = mixes;
  AskForMix();
}

// A mix for the footages read now, unless it is the one already held.
void Dco::AskForMix() {
  if (mixes_ == nullptr || reader_.count == 0) {
    reader_.mix = {};
    return;
  }
  FootageMixes::Key key;
  key.count = reader_.count;
  key.tables = reader_.tables;
  key.gains = reader_.gains;
  // The same footages: the mix held, or none until the next block.
  if (key == mixKey_ && (reader_.mix.Valid() || mixAskedIn_ == mixes_->Block())) {
    return mixes_->Use(reader_.mix);
  }
  mixKey_ = key;
  reader_.mix = mixes_->Find(key);
  mixAskedIn_ = mixes_->Block();
}

// Once a tick: the mix held stays in use; one not had is asked for again once a block.
void Dco::KeepMix() {
  if (reader_.mix.Valid()) {
    mixes_->Use(reader_.mix);
  } else if (mixes_ != nullptr && reader_.count > 0 && mixAskedIn_ != mixes_->Block()) {
    AskForMix();
  }
}

// Neighbouring indices mostly share their tables: then the reader stays as it is.
void Dco::ChooseTables(int index) {
  const IncrementTable::FootageTables& chosen = increments_->TablesAt(index);
  std::array<const double*, kFootageCount> tables{};
  for (int f = 0; f < kFootageCount; ++f) {
    tables[f] = chosen[f] == IncrementTable::kSilent ? nullptr : squares_->Table(chosen[f]);
  }
  if (tables == tables_) return KeepMix();
  tables_ = tables;
  UpdateReader();
}

// Silent footages above the highest one heard add nothing, so they are not read.
void Dco::UpdateReader() {
  reader_.count = 0;
  for (int f = 0; f < kFootageCount; ++f) {
    if (tables_[f] == nullptr) break;  // higher footages are above Nyquist too
    reader_.tables[f] = tables_[f];
    reader_.gains[f] = gains_[f];
    if (gains_[f] != 0.0) reader_.count = f + 1;
  }
  AskForMix();
}

int Dco::FootageTable(Footage footage) const {
  for (int j = 0; j < SquareTables::kCount; ++j) {
    if (tables_[footage] == squares_->Table(j)) return j;
  }
  return -1;
}
