#include <gtest/gtest.h>

#include "tests/engine/PlayingPlug.h"

namespace {

class NoteHandling : public ::testing::Test {
 protected:
  // Plays and lets the events take effect.
  void On(int key, int velocity = 100) {
    p.NoteOn(key, velocity);
    p.Render(1);
  }
  void Off(int key) {
    p.NoteOff(key);
    p.Render(1);
  }
  int VoiceWithKey(int key) const {
    for (int i = 0; i < p.plug.PlayableVoices(); ++i) {
      if (p.VoiceAt(i).Key() == key && p.VoiceAt(i).Active()) return i;
    }
    return -1;
  }

  PlayingPlug p;
};

}  // namespace

TEST_F(NoteHandling, FirstNotesAfterResetTakeVoiceZero) {
  On(61);
  EXPECT_EQ(VoiceWithKey(61), 0);
  PlayingPlug fresh;
  fresh.NoteOn(60);
  fresh.Render(1);
  EXPECT_TRUE(fresh.VoiceAt(0).Active());
  EXPECT_EQ(fresh.VoiceAt(0).StartStamp(), 1);
}

TEST_F(NoteHandling, ReStruckReleasingKeyReturnsToItsVoice) {
  p.Set(kDeg1Release, 31);
  for (int key = 60; key < 64; ++key) On(key);
  Off(63);
  ASSERT_EQ(VoiceWithKey(63), 3);
  EXPECT_FALSE(p.VoiceAt(3).Gate());
  On(63);
  EXPECT_EQ(VoiceWithKey(63), 3);
  EXPECT_TRUE(p.VoiceAt(3).Gate());
}

TEST_F(NoteHandling, NinthKeyStealsTheOldestGatedVoice) {
  for (int key = 60; key < 68; ++key) On(key);
  On(70);
  EXPECT_EQ(VoiceWithKey(70), 0);
  EXPECT_EQ(VoiceWithKey(60), -1);
}

TEST_F(NoteHandling, NewKeyTakesTheReleasingLastVoiceNotAHeldOne) {
  p.Set(kDeg1Release, 31);
  for (int key = 60; key < 68; ++key) On(key);
  Off(67);  // voice 7, the newest, is releasing
  On(70);
  EXPECT_EQ(VoiceWithKey(70), 7);
  for (int key = 60; key < 67; ++key) EXPECT_TRUE(p.VoiceAt(VoiceWithKey(key)).Gate()) << key;
}

TEST_F(NoteHandling, SustainPedalHoldsReleasedKeysUntilLifted) {
  p.Set(kDeg1Release, 31);
  p.Send(0, 0xB0, 64, 127);
  On(60);
  Off(60);
  EXPECT_TRUE(p.VoiceAt(0).Gate());
  EXPECT_FALSE(p.VoiceAt(0).KeyHeld());
  p.Send(0, 0xB0, 64, 0);
  p.Render(1);
  EXPECT_FALSE(p.VoiceAt(0).Gate());
}

TEST_F(NoteHandling, LegatoWithoutMultipleTriggerKeepsDeg3AndMgDelay) {
  p.Set(kVcfTrigger, 1);
  p.Set(kMgDelay, 15);
  p.Set(kDeg3Attack, 31);
  On(60);
  p.Render(2000);
  const double deg3Level = p.plug.FilterPath().Deg3().Level();
  const double delay = p.plug.Mg().Delay();
  ASSERT_GT(deg3Level, 0.0);
  On(64);
  EXPECT_GE(p.plug.FilterPath().Deg3().Level(), deg3Level);  // not restarted from 0
  EXPECT_GE(p.plug.Mg().Delay(), delay);
  Off(60);
  Off(64);
  On(62);
  EXPECT_LT(p.plug.Mg().Delay(), delay);  // a fresh phrase restarts both
}

TEST_F(NoteHandling, ChordModeStartsTheStoredIntervals) {
  p.Set(kMode, 1);
  p.plug.SetChord({4, 7});
  On(50);
  On(60);
  EXPECT_NE(VoiceWithKey(60), -1);
  EXPECT_NE(VoiceWithKey(64), -1);
  EXPECT_NE(VoiceWithKey(67), -1);
  for (int key : {50, 54, 57}) {
    const int voice = VoiceWithKey(key);
    ASSERT_NE(voice, -1);
    EXPECT_FALSE(p.VoiceAt(voice).Gate()) << key;  // the earlier chord was released
  }
}

TEST_F(NoteHandling, ChordVoicesOfAHeldKeyStayWhenAnotherKeyLifts) {
  p.Set(kMode, 1);
  p.plug.SetChord({4, 7});
  On(48);
  On(50);
  On(60);
  Off(50);
  for (int key : {60, 64, 67}) EXPECT_TRUE(p.VoiceAt(VoiceWithKey(key)).Gate()) << key;
}

TEST_F(NoteHandling, ControllersEndAllNotesAndVoiceCountChangesRelease) {
  On(60);
  On(62);
  p.Send(0, 0xB0, 123, 0);
  EXPECT_FALSE(p.VoiceAt(0).Gate());
  EXPECT_FALSE(p.VoiceAt(1).Gate());
  EXPECT_TRUE(p.plug.Held().Empty());
  On(60);
  p.Set(kVoices, 1);
  EXPECT_EQ(p.plug.PlayableVoices(), 64);
  EXPECT_FALSE(p.VoiceAt(0).Gate());
}
