#pragma once

#include <array>
#include <vector>

#include "engine/KeyPitchSource.h"
#include "engine/ModelRecord.h"
#include "engine/PerformanceValues.h"
#include "engine/Synth.h"
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
  bool SustainPedalDown() const { return sustainPedal_; }

 private:
  void SustainPedal(bool down);
  bool LoadBankFile(const std::string& path);
  bool LoadFactoryBank(const char* name, const char* type);

  ModelRecord legacyModel_;
  ModelRecord currentModel_;
  bool legacy_ = true;
  std::vector<MidiMessage> noteEvents_;
  std::array<Voice, kVoiceCount> voices_;
  PerformanceValues performance_;
  int voiceCount_ = 8;
  int stampCounter_ = 0;
  bool sustainPedal_ = false;
  int keyMode_ = 0;
  bool constructing_ = true;
  double lastSampleRate_ = -1.0;
};
