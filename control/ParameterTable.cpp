#include <cmath>
#include <cstdio>
#include <iterator>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "host/NumberText.h"

namespace {

constexpr int kTextSize = Parameter::kMaxTextLength + 1;

void CopyText(const std::string& from, char* text) {
  std::snprintf(text, kTextSize, "%s", from.c_str());
}

// "Volume" in decibels; silence shows as minus infinity.
void VolumeDisplay(double value, char* text) {
  if (value <= 0.0) {
    std::snprintf(text, kTextSize, "-oo");
  } else {
    CopyText(FormatDecimal(20.0 * std::log10(value), 1), text);
  }
}

// "Tune" in cents: the range -1..1 spans half a semitone either way.
void TuneDisplay(double value, char* text) {
  CopyText(FormatDecimal(value * 50.0, 0), text);
}

struct ContinuousEntry {
  ParameterIndex index;
  const char* name;
  double minimum;
  double maximum;
  double defaultValue;
  double step;
};

struct IntegerEntry {
  ParameterIndex index;
  const char* name;
  int minimum;
  int maximum;
  int defaultValue;
};

struct EnumEntry {
  ParameterIndex index;
  const char* name;
  const char* text0;
  const char* text1;
};

constexpr double kSeqFrequencyStep = 1.0 / 240.0;

const ContinuousEntry kContinuous[] = {
    {kVolume, "Volume", 0, 1, 0.5, 0.01},
    {kTune, "Tune", -1, 1, 0, 0.01},
    {kSeqFrequency, "Seq. Frequency", 1, 240, 120, kSeqFrequencyStep},
    {kDco1Waveform, "DCO1 Waveform", 1, 2, 2, 0.01},
    {kDco1Foot16, "DCO1 16'", 0, 1, 1, 0.01},
    {kDco1Foot8, "DCO1 8'", 0, 1, 1, 0.01},
    {kDco1Foot4, "DCO1 4'", 0, 1, 1, 0.01},
    {kDco1Foot2, "DCO1 2'", 0, 1, 1, 0.01},
    {kDco1Level, "DCO1 Level", 0, 31, 31, 1},
    {kDco2Waveform, "DCO2 Waveform", 1, 2, 2, 0.01},
    {kDco2Foot16, "DCO2 16'", 0, 1, 1, 0.01},
    {kDco2Foot8, "DCO2 8'", 0, 1, 1, 0.01},
    {kDco2Foot4, "DCO2 4'", 0, 1, 1, 0.01},
    {kDco2Foot2, "DCO2 2'", 0, 1, 1, 0.01},
    {kDco2Level, "DCO2 Level", 0, 31, 31, 1},
    {kDco2Detune, "DCO2 Detune", 0, 3, 0, 0.01},
    {kNoiseLevel, "Noise Level", 0, 15, 0, 1},
    {kVcfCutoff, "VCF Cutoff", 0, 99, 99, 1},
    {kVcfResonance, "VCF Resonance", 0, 15, 0, 1},
    {kVcfKbdTrack, "VCF KBD Track", 0, 2, 0, 1},
    {kVcfEgIntensity, "VCF EG Intensity", 0, 15, 0, 1},
    {kChorus, "Chorus", 0, 1, 0, 0.01},
    {kDeg1Attack, "DEG1 Attack", 0, 31, 0, 1},
    {kDeg1Decay, "DEG1 Decay", 0, 31, 0, 1},
    {kDeg1BreakPoint, "DEG1 Break Point", 0, 31, 31, 1},
    {kDeg1Slope, "DEG1 Slope", 0, 31, 0, 1},
    {kDeg1Sustain, "DEG1 Sustain", 0, 31, 31, 1},
    {kDeg1Release, "DEG1 Release", 0, 31, 0, 1},
    {kDeg2Attack, "DEG2 Attack", 0, 31, 0, 1},
    {kDeg2Decay, "DEG2 Decay", 0, 31, 0, 1},
    {kDeg2BreakPoint, "DEG2 Break Point", 0, 31, 31, 1},
    {kDeg2Slope, "DEG2 Slope", 0, 31, 0, 1},
    {kDeg2Sustain, "DEG2 Sustain", 0, 31, 31, 1},
    {kDeg2Release, "DEG2 Release", 0, 31, 0, 1},
    {kDeg3Attack, "DEG3 Attack", 0, 31, 0, 1},
    {kDeg3Decay, "DEG3 Decay", 0, 31, 0, 1},
    {kDeg3BreakPoint, "DEG3 Break Point", 0, 31, 0, 1},
    {kDeg3Slope, "DEG3 Slope", 0, 31, 0, 1},
    {kDeg3Sustain, "DEG3 Sustain", 0, 31, 0, 1},
    {kDeg3Release, "DEG3 Release", 0, 31, 0, 1},
    {kMgFrequency, "MG Frequency", 0, 15, 8, 1},
    {kMgDelay, "MG Delay", 0, 15, 0, 1},
    {kMgDco, "MG DCO", 0, 15, 0, 1},
    {kMgVcf, "MG VCF", 0, 15, 0, 1},
    {kModWheelToDco, "Mod.Wheel to DCO", 0, 1, 0, 0.001},
    {kModWheelToVcf, "Mod.Wheel to VCF", 0, 1, 0, 0.001},
    {kVelocity, "Velocity", 0, 1, 0, 0.001},
    {kChorusRate, "Chorus Rate", 0, 1, 0.13, 0.01},
};

const IntegerEntry kIntegers[] = {
    {kBend, "Bend", 0, 12, 2},
    {kDco1Octave, "DCO1 Octave", 1, 3, 2},
    {kDcoMode, "DCO Mode", 1, 2, 1},
    {kDco2Octave, "DCO2 Octave", 1, 3, 2},
    {kDco2Interval, "DCO2 Interval", 0, 12, 0},
    {kVcfEgPolarity, "VCF EG Polarity", 1, 2, 2},
    {kVcfTrigger, "VCF Trigger", 1, 2, 2},
    {kSeqClock, "Seq. Clock", 1, 2, 1},
    {kSeqPlayOnNote, "Seq. Play On Note", 0, 1, 0},
    {kSeqTranspose, "Seq. Transpose", 0, 1, 0},
};

const EnumEntry kEnums[] = {
    {kMode, "Mode", "Poly", "Chord"},
    {kVoices, "Voices", "4/8", "64"},
    {kGodMode, "God Mode", "Off", "On"},
    {kStereoChorus, "Stereo Chorus", "Off", "On"},
};

const ParameterIndex kBooleans[] = {kLegacyMode, kGainBoost, kBrightness};
const char* const kBooleanNames[] = {"Legacy Mode", "Gain Boost", "Brightness"};

}  // namespace

void Tarsyn7::DefineParameters() {
  for (const ContinuousEntry& entry : kContinuous) {
    GetParameter(entry.index)
        ->InitDouble(entry.name, entry.defaultValue, entry.minimum, entry.maximum, entry.step);
  }
  for (const IntegerEntry& entry : kIntegers) {
    GetParameter(entry.index)
        ->InitInt(entry.name, entry.defaultValue, entry.minimum, entry.maximum);
  }
  for (const EnumEntry& entry : kEnums) {
    GetParameter(entry.index)->InitEnum(entry.name, 0, entry.text0, entry.text1);
  }
  for (size_t i = 0; i < std::size(kBooleans); ++i) {
    GetParameter(kBooleans[i])->InitBool(kBooleanNames[i]);
  }
  for (int index = kFirstReserved; index < kParameterCount; ++index) {
    GetParameter(index)->InitInt("reserved", 0, 0, 1);
  }
  GetParameter(kVolume)->SetDisplayFunction(&VolumeDisplay);
  GetParameter(kTune)->SetDisplayFunction(&TuneDisplay);
}
