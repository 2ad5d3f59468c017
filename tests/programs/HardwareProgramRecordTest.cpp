#include "programs/HardwareProgramRecord.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(read[kDeg1Decay] + read[kDco1Level] + read[kDeg3Release], 31 + 13 + 17);
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
