#include "programs/HardwareProgramRecord.h"

#include <cmath>

namespace {

// A run of bits inside the record, counted from bit 0 of byte 0 upwards; `shift` places
// the run inside the field's value. Runs cross byte boundaries freely.
struct BitRun {
  int position;
  int width;
  int shift;
};

// A field holds its hardware value less `offset`. Most fields are one run; "DCO1 Level"
// keeps its upper bits in byte 4 and its lower two in byte 5.
struct Field {
  ParameterIndex index;
  int minimum;
  int maximum;
  int offset;
  BitRun first;
  BitRun second;
};

constexpr BitRun Run(int byte, int bit, int width) {
  return {byte * 8 + bit, width, 0};
}
constexpr BitRun kNone{0, 0, 0};
constexpr int kEnvelopeStart = 9 * 8;
constexpr int kEnvelopeWidth = 5;

constexpr Field Plain(ParameterIndex index, int maximum, BitRun run) {
  return {index, 0, maximum, 0, run, kNone};
}
constexpr Field OneBased(ParameterIndex index, int maximum, BitRun run) {
  return {index, 1, maximum, 1, run, kNone};
}
constexpr Field Envelope(int k) {
  return Plain(static_cast<ParameterIndex>(kDeg1Attack + k), 31,
               {kEnvelopeStart + kEnvelopeWidth * k, kEnvelopeWidth, 0});
}

const Field kFields[] = {
    OneBased(kDco1Octave, 3, Run(0, 0, 2)),
    OneBased(kDco2Octave, 3, Run(0, 2, 2)),
    OneBased(kDco1Waveform, 2, Run(0, 4, 2)),
    OneBased(kDco2Waveform, 2, Run(0, 6, 2)),
    Plain(kDco1Foot16, 1, Run(1, 0, 1)),
    Plain(kDco1Foot8, 1, Run(1, 1, 1)),
    Plain(kDco1Foot4, 1, Run(1, 2, 1)),
    Plain(kDco1Foot2, 1, Run(1, 3, 1)),
    Plain(kDco2Foot16, 1, Run(1, 4, 1)),
    Plain(kDco2Foot8, 1, Run(1, 5, 1)),
    Plain(kDco2Foot4, 1, Run(1, 6, 1)),
    Plain(kDco2Foot2, 1, Run(1, 7, 1)),
    Plain(kDco2Detune, 3, Run(2, 0, 2)),
    OneBased(kDcoMode, 2, Run(2, 6, 1)),
    Plain(kDco2Interval, 12, Run(3, 0, 4)),
    Plain(kNoiseLevel, 15, Run(3, 4, 4)),
    Plain(kVcfEgIntensity, 15, Run(4, 0, 4)),
    OneBased(kVcfEgPolarity, 2, Run(4, 4, 1)),
    {kDco1Level, 0, 31, 0, {4 * 8 + 5, 3, 2}, Run(5, 0, 2)},
    Plain(kDco2Level, 31, Run(5, 2, 5)),
    Plain(kVcfCutoff, 99, Run(6, 0, 7)),
    OneBased(kVcfTrigger, 2, Run(6, 7, 1)),
    Plain(kMgFrequency, 15, Run(7, 0, 4)),
    Plain(kMgDelay, 15, Run(7, 4, 4)),
    Plain(kMgDco, 15, Run(8, 0, 4)),
    Plain(kMgVcf, 15, Run(8, 4, 4)),
    Envelope(0),
    Envelope(1),
    Envelope(2),
    Envelope(3),
    Envelope(4),
    Envelope(5),
    Envelope(6),
    Envelope(7),
    Envelope(8),
    Envelope(9),
    Envelope(10),
    Envelope(11),
    Envelope(12),
    Envelope(13),
    Envelope(14),
    Envelope(15),
    Envelope(16),
    Envelope(17),
    Plain(kVcfResonance, 15, Run(20, 2, 4)),
    Plain(kVcfKbdTrack, 2, Run(20, 6, 2)),
};
// Byte 2 bit 7: "Chorus" on the Poly-800, clear for on. The Poly-800 II has no chorus
// there; every record it writes carries the bit set.
constexpr Field kChorusField = Plain(kChorus, 1, Run(2, 7, 1));

const Field& FieldOf(int index) {
  for (const Field& field : kFields) {
    if (field.index == index) return field;
  }
  return kChorusField;
}

bool IsFootage(int index) {
  return (index >= kDco1Foot16 && index <= kDco1Foot2) ||
         (index >= kDco2Foot16 && index <= kDco2Foot2);
}

int GetRun(const std::array<uint8_t, HardwareProgramRecord::kSize>& bytes, BitRun run) {
  int value = 0;
  for (int i = 0; i < run.width; ++i) {
    const int position = run.position + i;
    const int bit = (bytes[static_cast<size_t>(position / 8)] >> (position % 8)) & 1;
    value |= bit << (run.shift + i);
  }
  return value;
}

void PutRun(std::array<uint8_t, HardwareProgramRecord::kSize>& bytes, BitRun run, int value) {
  for (int i = 0; i < run.width; ++i) {
    const int position = run.position + i;
    if ((value >> (run.shift + i)) & 1) {
      bytes[static_cast<size_t>(position / 8)] |= static_cast<uint8_t>(1 << (position % 8));
    }
  }
}

}  // namespace

const std::array<ParameterIndex, HardwareProgramRecord::kFieldCount>& HardwareRecordParameters() {
  static const std::array<ParameterIndex, HardwareProgramRecord::kFieldCount> parameters = [] {
    std::array<ParameterIndex, HardwareProgramRecord::kFieldCount> list{};
    size_t i = 0;
    for (const Field& field : kFields) list[i++] = field.index;
    list[i] = kChorus;
    return list;
  }();
  return parameters;
}

double PlainFromHardwareValue(int index, double value) {
  const Field& field = FieldOf(index);
  if (!(value >= field.minimum)) return field.minimum;  // NaN too
  return value > field.maximum ? field.maximum : value;
}

int HardwareValueFromPlain(int index, double plain) {
  const Field& field = FieldOf(index);
  if (!(plain >= field.minimum)) return field.minimum;  // NaN too
  if (index == kChorus) return plain > 0.0 ? 1 : 0;
  if (IsFootage(index)) return plain >= 0.5 ? 1 : 0;
  return plain >= field.maximum ? field.maximum : static_cast<int>(std::floor(plain));
}

void HardwareProgramRecord::Read(HardwareLayout layout, ParameterValues& values) const {
  for (const Field& field : kFields) {
    const int stored = GetRun(bytes, field.first) | GetRun(bytes, field.second);
    values[field.index] = PlainFromHardwareValue(field.index, stored + field.offset);
  }
  const bool chorusBitSet = GetRun(bytes, kChorusField.first) != 0;
  values[kChorus] = layout == HardwareLayout::kPoly800 && !chorusBitSet ? 1.0 : 0.0;
}

HardwareProgramRecord HardwareProgramRecord::FromValues(const ParameterValues& values,
                                                        HardwareLayout layout) {
  HardwareProgramRecord record;
  for (const Field& field : kFields) {
    const int stored = HardwareValueFromPlain(field.index, values[field.index]) - field.offset;
    PutRun(record.bytes, field.first, stored);
    PutRun(record.bytes, field.second, stored);
  }
  const bool chorusOn = HardwareValueFromPlain(kChorus, values[kChorus]) != 0;
  if (layout == HardwareLayout::kPoly800II || !chorusOn)
    PutRun(record.bytes, kChorusField.first, 1);
  return record;
}
