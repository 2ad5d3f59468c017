// Footage mixes: made within a budget, kept while used, their handles failing once given away.
#include "engine/FootageMixes.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/SquareTables.h"

namespace {

// Distinct keys: two footages of the first tables with a gain of its own.
FootageMixes::Key KeyNumber(int n) {
  const SquareTables& squares = SquareTables::Get();
  FootageMixes::Key key;
  key.count = 2;
  key.tables = {squares.Table(0), squares.Table(2), nullptr, nullptr};
  key.gains = {0.5, 0.01 * (n + 1), 0.0, 0.0};
  return key;
}

TEST(FootageMixes, EntriesSumTheFootagesAtTheirOwnSpeeds) {
  FootageMixes mixes;
  const FootageMixes::Key key = KeyNumber(3);
  const FootageMixes::Handle mix = mixes.Find(key);
  ASSERT_TRUE(mix.Valid());
  EXPECT_EQ(mix.shift, 15);  // two footages: 12 bits of the phase
  for (uint32_t phase : {0u, 40000u, 98765u, (1u << 27) - 1}) {
    const double expected = 0.0 + key.tables[0][phase >> 16] * key.gains[0] +
                            key.tables[1][(phase >> 15) & 2047] * key.gains[1];
    EXPECT_EQ(mix.entries[phase >> mix.shift], expected) << phase;
  }
  EXPECT_EQ(mixes.Find(key).entries, mix.entries);  // found again, not made again
}

TEST(FootageMixes, MakesAFewABlockAndGivesAwayOnlySlotsNoLongerUsed) {
  FootageMixes mixes;
  std::vector<FootageMixes::Handle> held;
  for (int n = 0; n < FootageMixes::kSlots; ++n) {
    if (n % FootageMixes::kMakesPerBlock == 0) mixes.NewBlock();
    held.push_back(mixes.Find(KeyNumber(n)));
    ASSERT_TRUE(held.back().Valid()) << n;
  }
  EXPECT_FALSE(mixes.Find(KeyNumber(FootageMixes::kSlots)).Valid());  // budget spent
  mixes.NewBlock();
  for (const auto& h : held) mixes.Use(h);
  EXPECT_FALSE(mixes.Find(KeyNumber(FootageMixes::kSlots)).Valid());  // every slot in use
  mixes.NewBlock();
  EXPECT_FALSE(mixes.Find(KeyNumber(FootageMixes::kSlots)).Valid());  // used a block ago
  mixes.NewBlock();
  for (int n = 1; n < FootageMixes::kSlots; ++n) mixes.Use(held[static_cast<size_t>(n)]);
  const FootageMixes::Handle newcomer = mixes.Find(KeyNumber(FootageMixes::kSlots));
  ASSERT_TRUE(newcomer.Valid());
  EXPECT_FALSE(held[0].Valid());  // the one left unused went, and its handle says so
  for (int n = 1; n < FootageMixes::kSlots; ++n) EXPECT_TRUE(held[static_cast<size_t>(n)].Valid());
  EXPECT_FALSE(mixes.Find(FootageMixes::Key{}).Valid());  // nothing to sum
}

}  // namespace
