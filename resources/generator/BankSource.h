#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Sequence.h"

// The readable text a factory bank is made from.
//
//   # a comment, to the end of the line
//   format version = 2100          bank settings, before the first program
//   plug-in version = 20100
//   hardware values = yes          record parameters hold the hardware's own numbers
//   Legacy Mode off                settings before the first program apply to all
//   [Program Name]                 starts a program; every setting not named keeps
//   VCF: Cutoff 40, Resonance 9    its default. "GROUP: A 1, B 2" sets "GROUP A" and
//   Volume 0.4, Mode Chord         "GROUP B"; a value is a number or a display text
//   Chord = 0 4 7                  semitone offsets of the chord memory
//   Sequence = C3 . E3@90 ~ G3+B3  steps: notes (C4 is MIDI 60, "@" a velocity,
//                                  default 100), "+" joins a chord step, "." a rest,
//                                  "~" a tie
struct SourceSetting {
  std::string parameter;
  std::string value;
  int line;
};

struct SourceProgram {
  std::string name;
  int line = 0;
  std::vector<SourceSetting> settings;
  ChordNotes chord;
  Sequence sequence;
};

struct BankSource {
  int32_t formatVersion = 0;
  int32_t pluginVersion = 0;
  bool hardwareValues = false;
  std::vector<SourceSetting> common;  // set in every program before its own settings
  std::vector<SourceProgram> programs;
};

// A source line that breaks the form, named by file and line.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

BankSource ParseBankSource(const std::string& text, const std::string& fileName);
