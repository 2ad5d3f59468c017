#include "programs/StateRecord.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"

namespace {

// Records older than this version had no "Brightness" value of their own: the legacy
// byte stands for it.
constexpr int32_t kFirstVersionWithBrightness = 1901;
constexpr int32_t kLargestInterval = 127;

void AppendStep(ChunkBuffer& chunk, const SequenceStep& step) {
  chunk.PutByte(step.tie ? 1 : 0);
  chunk.PutInt32(static_cast<int32_t>(step.notes.size()));
  for (const StepNote& note : step.notes) {
    chunk.PutInt32(note.note);
    chunk.PutInt32(note.velocity);
  }
}

// Fields 4-11: values, chord, steps and the extension with the given format version.
bool AppendRecordBody(ChunkBuffer& chunk, const StateRecord& record, int32_t formatVersion) {
  for (double value : record.values) chunk.PutDouble(value);
  chunk.PutInt32(static_cast<int32_t>(record.chord.size()));
  for (int32_t offset : record.chord) chunk.PutInt32(offset);
  chunk.PutInt32(static_cast<int32_t>(record.sequence.size()));
  for (const SequenceStep& step : record.sequence) AppendStep(chunk, step);
  chunk.PutInt32(StateRecord::kExtensionCount);
  chunk.PutInt32(formatVersion);
  chunk.PutByte(record.legacyByte);
  return !chunk.Failed();
}

// Passes over the marker, the program index and the program name when the record has
// them; a legacy record starts directly with its values.
int SkipMarkerHead(const ChunkBuffer& chunk, int position) {
  if (!HasStateMarker(chunk, position)) return position;
  int32_t nameLength = 0;
  position = chunk.GetInt32(nameLength, position + StateRecord::kMarkerLength + 4);
  return chunk.Skip(nameLength > 0 ? nameLength : 0, position);
}

int ReadValues(const ChunkBuffer& chunk, int position, StateRecord& record) {
  for (double& value : record.values) position = chunk.GetDouble(value, position);
  return position;
}

// Lists are read entry by entry, so a count claiming more than the buffer holds fails at
// its end instead of reserving memory for it. A null destination passes over the entries.
// An interval is kept to what one key can reach from another.
int ReadChord(const ChunkBuffer& chunk, int position, ChordNotes* chord) {
  int32_t count = 0;
  position = chunk.GetInt32(count, position);
  if (chord) chord->clear();
  for (int32_t i = 0; i < count && position >= 0; ++i) {
    int32_t offset = 0;
    position = chunk.GetInt32(offset, position);
    if (chord && position >= 0)
      chord->push_back(std::clamp(offset, -kLargestInterval, kLargestInterval));
  }
  return position;
}

int ReadStep(const ChunkBuffer& chunk, int position, SequenceStep& step) {
  uint8_t tie = 0;
  int32_t count = 0;
  position = chunk.GetByte(tie, position);
  position = chunk.GetInt32(count, position);
  step.tie = tie != 0;
  step.notes.clear();
  for (int32_t i = 0; i < count && position >= 0; ++i) {
    StepNote note;
    position = chunk.GetInt32(note.note, position);
    position = chunk.GetInt32(note.velocity, position);
    if (position >= 0) step.notes.push_back(note);
  }
  return position;
}

int ReadSequence(const ChunkBuffer& chunk, int position, Sequence* sequence) {
  int32_t count = 0;
  position = chunk.GetInt32(count, position);
  if (sequence) sequence->clear();
  for (int32_t i = 0; i < count && position >= 0; ++i) {
    SequenceStep step;
    position = ReadStep(chunk, position, step);
    if (sequence && position >= 0) sequence->push_back(std::move(step));
  }
  return position;
}

int ReadExtension(const ChunkBuffer& chunk, int position, StateRecord& record) {
  position = chunk.GetInt32(record.extensionCount, position);
  if (position < 0 || record.extensionCount < 1) return position;
  position = chunk.GetInt32(record.formatVersion, position);
  return chunk.GetByte(record.legacyByte, position);
}

void SetAndApply(Tarsyn7& plug, int index, double value) {
  Parameter* parameter = plug.GetParameter(index);
  parameter->Set(parameter->Clamp(value));
  plug.ParameterChanged(index);
}

// All values are stored before any change handler runs; the handlers then run in index
// order, as when the host re-applies every parameter.
void ApplyValues(Tarsyn7& plug, const StateRecord& record) {
  for (int i = 0; i < StateRecord::kValueCount; ++i) {
    Parameter* parameter = plug.GetParameter(i);
    parameter->Set(parameter->Clamp(record.values[static_cast<size_t>(i)]));
  }
  for (int i = 0; i < StateRecord::kValueCount; ++i) plug.ParameterChanged(i);
}

// Records without an extension predate "Gain Boost", "Brightness" and the current
// calibration; old versions carried brightness in the legacy byte.
void ApplyExtension(Tarsyn7& plug, const StateRecord& record) {
  double legacy = 0.0;
  if (record.extensionCount < 1) {
    SetAndApply(plug, kGainBoost, 0.0);
    SetAndApply(plug, kBrightness, 0.0);
  } else {
    legacy = record.legacyByte != 0 ? 1.0 : 0.0;
    if (record.formatVersion < kFirstVersionWithBrightness) SetAndApply(plug, kBrightness, legacy);
  }
  SetAndApply(plug, kLegacyMode, legacy);
}

}  // namespace

bool HasStateMarker(const ChunkBuffer& chunk, int position) {
  return position >= 0 && chunk.Skip(StateRecord::kMarkerLength, position) >= 0 &&
         std::memcmp(chunk.Data() + position, StateRecord::kMarker, StateRecord::kMarkerLength) ==
             0;
}

bool AppendStateRecord(ChunkBuffer& chunk, const StateRecord& record, int32_t programIndex,
                       const std::string& programName) {
  chunk.PutBytes(StateRecord::kMarker, StateRecord::kMarkerLength);
  chunk.PutInt32(programIndex);
  chunk.PutString(programName);
  return AppendRecordBody(chunk, record, StateRecord::kFormatVersion);
}

bool AppendLegacyStateRecord(ChunkBuffer& chunk, const StateRecord& record) {
  return AppendRecordBody(chunk, record, record.formatVersion);
}

int ParseStateRecord(const ChunkBuffer& chunk, int position, StateRecord& record, bool skipSound,
                     bool skipSequence) {
  position = SkipMarkerHead(chunk, position);
  position = skipSound ? chunk.Skip(StateRecord::kValueCount * 8, position)
                       : ReadValues(chunk, position, record);
  position = ReadChord(chunk, position, skipSound ? nullptr : &record.chord);
  position = ReadSequence(chunk, position, skipSequence ? nullptr : &record.sequence);
  return ReadExtension(chunk, position, record);
}

bool Tarsyn7::WriteState(ChunkBuffer& chunk) {
  std::lock_guard<ReentrantLock> guard(Lock());
  StateRecord record;
  for (int i = 0; i < StateRecord::kValueCount; ++i) {
    Parameter* parameter = GetParameter(i);
    if (i >= kFirstReserved) parameter->Set(parameter->Clamp(0.0));
    record.values[static_cast<size_t>(i)] = parameter->Value();
  }
  record.chord = chordNotes_;
  record.sequence = GetSequence();
  record.legacyByte = GetParameter(kLegacyMode)->Value() >= 0.5 ? 1 : 0;
  return AppendStateRecord(chunk, record, CurrentPreset(), PresetName(CurrentPreset()));
}

int Tarsyn7::ReadState(const ChunkBuffer& chunk, int position) {
  return ReadStateParts(chunk, position, false, false);
}

// The whole record is read before anything changes, so a record cut short leaves the
// live program as it was instead of half replaced.
int Tarsyn7::ReadStateParts(const ChunkBuffer& chunk, int position, bool skipSound,
                            bool skipSequence) {
  std::lock_guard<ReentrantLock> guard(Lock());
  StateRecord record;
  position = ParseStateRecord(chunk, position, record, skipSound, skipSequence);
  if (position < 0) return position;
  const Reapplication reapplication(*this);
  if (!skipSound) {
    ApplyValues(*this, record);
    chordNotes_.swap(record.chord);
  }
  if (!skipSequence) SetSequence(std::move(record.sequence));
  sequencer_.transpose = 0;
  ApplyExtension(*this, record);
  return position;
}
