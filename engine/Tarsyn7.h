#pragma once

#include <array>
#include <vector>

#include "engine/CutoffTable.h"
#include "engine/DigitalEnvelope.h"
#include "engine/Filter.h"
#include "engine/IncrementTable.h"
#include "engine/KeyPitchSource.h"
#include "engine/ModelRecord.h"
#include "engine/NoiseGenerator.h"
#include "engine/OutputStage.h"
#include "engine/PerformanceValues.h"
#include "engine/Sequence.h"
#include "engine/Synth.h"
#include "engine/Vcf.h"
#include "engine/Voice.h"

// The instrument: the synthesizer layer plus the engine with its 64 voices.
class Tarsyn7 : public Synth, public KeyPitchSource {
 public:
  static constexpr int kVoiceCount = 64;

  explicit Tarsyn7(HostCallback host);
  ~Tarsyn7() override;

  void ResetProcessing() override;
  void ParameterChanged(int index) override;
  void RenderBlock(double** inputs, double** outputs, int frames) override;
  void IdleTick() override;
  void ReleaseAllVoices() override;
  bool WriteState(ChunkBuffer& chunk) override;
  int ReadState(const ChunkBuffer& chunk, int position) override;
  // Reads a state record, optionally passing over the sound (values and chord) or the
  // sequence without changing them. Answers the position behind it, negative on failure.
  int ReadStateParts(const ChunkBuffer& chunk, int position, bool skipSound, bool skipSequence);

  // Declares the 80 parameters.
  void DefineParameters();
  // 64 voices with "Voices" at "64"; else 4 in double DCO mode and 8 in single.
  void SetVoiceCount();
  double PitchIndexForKey(int key) const override;

  int PlayableVoices() const { return voiceCount_; }
  const Voice& GetVoice(int index) const { return voices_[static_cast<size_t>(index)]; }
  const ModelRecord& LegacyModel() const { return legacyModel_; }
  const ModelRecord& CurrentModel() const { return currentModel_; }
  const ModelRecord& ActiveModel() const { return legacy_ ? legacyModel_ : currentModel_; }
  double LastSampleRate() const { return lastSampleRate_; }
  const PerformanceValues& Performance() const { return performance_; }
  const DigitalEnvelope& GlobalDeg3() const { return globalDeg3_; }
  const Vcf& GlobalVcf() const { return globalVcf_; }
  double MgDelayLevel() const { return mgDelayLevel_; }
  bool SustainPedalDown() const { return sustainPedal_; }
  const ChordNotes& Chord() const { return chordNotes_; }
  const Sequence& GetSequence() const { return sequence_; }

 private:
  void SustainPedal(bool down);
  void ApplyChorusModel();
  bool LoadBankFile(const std::string& path);
  bool LoadFactoryBank(const char* name, const char* type);

  ModelRecord legacyModel_;
  ModelRecord currentModel_;
  bool legacy_ = true;
  std::vector<MidiMessage> noteEvents_;
  // Rate-dependent tables of this object, so instances at other rates never share them.
  IncrementTable increments_;
  CutoffTable cutoffs_;
  NoiseGenerator noise_;
  std::array<Voice, kVoiceCount> voices_;
  PerformanceValues performance_;
  Vcf globalVcf_;
  DigitalEnvelope globalDeg3_;
  LowPass deg3Smoother_;  // 40 Hz
  OutputStage output_;
  double mgPhase_ = 0.0;
  double mgTriangle_ = 0.0;
  double mgSine_ = 0.0;
  double mgIncrement_ = 0.0;
  double mgDelayLevel_ = 1.0;
  int voiceCount_ = 8;
  int stampCounter_ = 0;
  bool sustainPedal_ = false;
  int keyMode_ = 0;
  ChordNotes chordNotes_;
  Sequence sequence_;
  int sequenceTranspose_ = 0;
  bool constructing_ = true;
  double lastSampleRate_ = -1.0;
};
