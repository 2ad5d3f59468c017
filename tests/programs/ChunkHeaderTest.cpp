#include "programs/ChunkHeader.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ChunkHeader, IsTheTextTffpAndVersion65536) {
  ChunkBuffer chunk;
  ASSERT_TRUE(WriteChunkHeader(chunk));
  ASSERT_EQ(chunk.Size(), 8);
  EXPECT_EQ(std::memcmp(chunk.Data(), "tffp\x00\x00\x01\x00", 8), 0);
  int32_t version = 0;
  EXPECT_EQ(ReadChunkHeader(chunk, version), 8);
  EXPECT_EQ(version, 65536);
}

TEST(ChunkHeader, MissingOrCutShortHeaders) {
  int32_t version = 7;
  ChunkBuffer none;
  none.PutBytes("tffq\x00\x00\x01\x00", 8);
  EXPECT_EQ(ReadChunkHeader(none, version), 0);
  EXPECT_EQ(version, 0);

  ChunkBuffer empty;
  EXPECT_EQ(ReadChunkHeader(empty, version), 0);

  ChunkBuffer cut;
  cut.PutBytes("tffp\x00\x00", 6);
  EXPECT_LT(ReadChunkHeader(cut, version), 0);
  EXPECT_EQ(version, 0);
}
