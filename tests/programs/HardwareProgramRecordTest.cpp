#include "programs/HardwareProgramRecord.h"

#include <gtest/gtest.h>

#include "tests/programs/FactoryTable.h"

namespace {

ParameterValues Filled(double value) {
  ParameterValues values{};
  values.fill(value);
  return values;
}

}  // namespace

TEST(HardwareProgramRecord, FieldsCrossingBytesAndTheSplitLevelSurvive) {
  ParameterValues values = Filled(0.0);
  values[kDeg1Decay] = 31;    // byte 9 bits 5-7 and byte 10 bits 0-1
  values[kDeg3Release] = 17;  // byte 19 bits 5-7 and byte 20 bits 0-1
  values[kDco1Level] = 13;    // bits 2-4 in byte 4, bits 0-1 in byte 5
  values[kVcfResonance] = 15;
  values[kVcfKbdTrack] = 2;
  const HardwareProgramRecord record =
      HardwareProgramRecord::FromValues(values, HardwareLayout::kPoly800);
  EXPECT_EQ(record.bytes[9] >> 5, 7);
  EXPECT_EQ(record.bytes[10] & 3, 3);
  EXPECT_EQ(record.bytes[4] >> 5, 13 >> 2);
  EXPECT_EQ(record.bytes[5] & 3, 13 & 3);
  EXPECT_EQ(record.bytes[20], (2 << 6) | (15 << 2) | (17 >> 3));

  ParameterValues read = Filled(-5.0);
  record.Read(HardwareLayout::kPoly800, read);
  for (ParameterIndex index : HardwareRecordParameters()) {
    EXPECT_EQ(read[index], PlainFromHardwareValue(index, values[index])) << index;
  }
  EXPECT_EQ(read[kVolume], -5.0) << "parameters outside the record stay alone";
}

TEST(HardwareProgramRecord, ChorusAndFootagesPerLayout) {
  ParameterValues values = Filled(0.0);
  values[kChorus] = 0.5;      // on: anything above 0
  values[kDco1Foot16] = 0.5;  // on from 0.5
  values[kDco1Foot8] = 0.49;
  const auto poly = HardwareProgramRecord::FromValues(values, HardwareLayout::kPoly800);
  EXPECT_EQ(poly.bytes[2] & 0x80, 0) << "Poly-800: chorus on is the bit clear";
  EXPECT_EQ(poly.bytes[1], 1);
  ParameterValues read = Filled(0.0);
  poly.Read(HardwareLayout::kPoly800, read);
  EXPECT_EQ(read[kChorus], 1.0);

  values[kChorus] = 0.0;
  EXPECT_EQ(HardwareProgramRecord::FromValues(values, HardwareLayout::kPoly800).bytes[2] & 0x80,
            0x80);
  const auto two = HardwareProgramRecord::FromValues(values, HardwareLayout::kPoly800II);
  EXPECT_EQ(two.bytes[2] & 0x80, 0x80) << "every Poly-800 II record carries the bit";
  poly.Read(HardwareLayout::kPoly800II, read);
  EXPECT_EQ(read[kChorus], 0.0) << "the Poly-800 II has no chorus in the record";
}

TEST(HardwareProgramRecord, ReadingClampsIntoTheHardwareRange) {
  HardwareProgramRecord record;
  record.bytes.fill(0xFF);
  ParameterValues read = Filled(0.0);
  record.Read(HardwareLayout::kPoly800, read);
  EXPECT_EQ(read[kDco1Octave], 3.0);
  EXPECT_EQ(read[kDco1Waveform], 2.0);
  EXPECT_EQ(read[kDco2Interval], 12.0);
  EXPECT_EQ(read[kVcfCutoff], 99.0);
  EXPECT_EQ(read[kVcfKbdTrack], 2.0);
  EXPECT_EQ(read[kChorus], 0.0);
  EXPECT_EQ(HardwareValueFromPlain(kVcfCutoff, 1e300), 99);
  EXPECT_EQ(HardwareValueFromPlain(kDco1Octave, std::nan("")), 1);
}

// The published table lists the values as the hardware shows them; a record written
// from them and read back gives them all again.
TEST(HardwareProgramRecord, FactoryTableSurvivesTheRecord) {
  const std::vector<FactoryProgram> table = ReadFactoryTable();
  if (table.empty()) GTEST_SKIP() << "factory program table not found in ../shared/data";
  ASSERT_EQ(table.size(), 64u);
  for (const FactoryProgram& program : table) {
    const auto record = HardwareProgramRecord::FromValues(program.values, HardwareLayout::kPoly800);
    ParameterValues read = Filled(0.0);
    record.Read(HardwareLayout::kPoly800, read);
    for (ParameterIndex index : HardwareRecordParameters()) {
      EXPECT_EQ(read[index], program.values[index]) << program.name << " parameter " << index;
    }
  }
}
