#include "programs/ChunkBuffer.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ChunkBuffer, ValuesRoundTripLittleEndian) {
  ChunkBuffer chunk;
  chunk.PutInt32(-2);
  chunk.PutDouble(0.1);
  chunk.PutString("Strings");
  chunk.PutByte(7);
  ASSERT_EQ(chunk.Size(), 4 + 8 + 4 + 7 + 1);
  EXPECT_EQ(chunk.Data()[0], 0xFE);
  EXPECT_EQ(chunk.Data()[3], 0xFF);

  int32_t integer = 0;
  double real = 0.0;
  std::string text;
  uint8_t byte = 0;
  int position = chunk.GetInt32(integer, 0);
  position = chunk.GetDouble(real, position);
  position = chunk.GetString(text, position);
  position = chunk.GetByte(byte, position);
  EXPECT_EQ(position, chunk.Size());
  EXPECT_EQ(integer, -2);
  EXPECT_EQ(real, 0.1);
  EXPECT_EQ(text, "Strings");
  EXPECT_EQ(byte, 7);
}

TEST(ChunkBuffer, ReadsPastTheEndFailAndStayFailed) {
  ChunkBuffer chunk;
  chunk.PutInt32(1);
  int32_t value = 0;
  double real = 0.0;
  EXPECT_EQ(chunk.GetDouble(real, 0), -1);
  EXPECT_EQ(chunk.GetInt32(value, 1), -1);
  EXPECT_EQ(chunk.GetInt32(value, -1), -1);
  EXPECT_EQ(chunk.GetInt32(value, chunk.GetInt32(value, 0)), -1);
  EXPECT_EQ(chunk.Skip(1, 4), -1);
  EXPECT_EQ(chunk.Skip(0, 4), 4);
}

TEST(ChunkBuffer, StringCountsAreCheckedAgainstTheRest) {
  ChunkBuffer chunk;
  chunk.PutInt32(0x7FFFFFFF);  // claims far more bytes than there are
  chunk.PutBytes("abc", 3);
  std::string text = "kept";
  EXPECT_EQ(chunk.GetString(text, 0), -1);
  EXPECT_EQ(text, "kept");

  ChunkBuffer negative;
  negative.PutInt32(-5);
  EXPECT_EQ(negative.GetString(text, 0), 4);
  EXPECT_EQ(text, "");
}
