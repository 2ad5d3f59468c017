#include "tools/render/DemoPhrase.h"

#include <algorithm>

namespace {

constexpr int kQuarter = 480;
constexpr int kBar = 4 * kQuarter;
constexpr int kEighth = kQuarter / 2;
constexpr uint32_t kTempo = 576923;  // 104 beats per minute
constexpr int kGap = 24;             // between a note's end and the next on the same key

struct Chord {
  int bass;
  int notes[3];
};

// A minor, F major, C major, G major.
constexpr Chord kProgression[] = {
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};

// One bar of eighth notes over each chord of the second time round.
constexpr int kMelody[4][8] = {{76, 72, 69, 72, 76, 79, 76, 72},
                               {77, 72, 69, 72, 77, 81, 77, 72},
                               {76, 72, 67, 72, 76, 79, 84, 79},
                               {74, 71, 67, 71, 74, 79, 74, 71}};

void Add(MidiFile& song, int tick, std::vector<uint8_t> bytes) {
  song.events.push_back({static_cast<uint64_t>(tick), std::move(bytes)});
}

void Note(MidiFile& song, int start, int length, int key, int velocity) {
  Add(song, start, {0x90, static_cast<uint8_t>(key), static_cast<uint8_t>(velocity)});
  Add(song, start + length, {0x80, static_cast<uint8_t>(key), 0});
}

void Controller(MidiFile& song, int tick, int number, int value) {
  Add(song, tick, {0xB0, static_cast<uint8_t>(number), static_cast<uint8_t>(value)});
}

void Bend(MidiFile& song, int tick, int value) {  // 0 … 16383, centre 8192
  Add(song, tick, {0xE0, static_cast<uint8_t>(value & 0x7F), static_cast<uint8_t>(value >> 7)});
}

void ChordsAndBass(MidiFile& song) {
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& chord = kProgression[bar % 4];
    for (int key : chord.notes) Note(song, bar * kBar, kBar - kGap, key, 64);
    Note(song, bar * kBar, kBar / 2 - kGap, chord.bass, 96);
    Note(song, bar * kBar + kBar / 2, kBar / 4 - kGap, chord.bass, 80);
    Note(song, bar * kBar + 3 * kBar / 4, kBar / 4 - kGap, chord.bass + 12, 72);
  }
  const Chord& last = kProgression[0];
  for (int key : last.notes) Note(song, 8 * kBar, 6 * kQuarter, key, 70);
  Note(song, 8 * kBar, 6 * kQuarter, last.bass, 96);
}

void Melody(MidiFile& song) {
  for (int bar = 4; bar < 8; ++bar) {
    for (int step = 0; step < 8; ++step) {
      const int accent = step % 2 == 0 ? 100 : 82;
      Note(song, bar * kBar + step * kEighth, kEighth - kGap, kMelody[bar - 4][step], accent);
    }
  }
  // Vibrato swells in over the last melody bar and the final chord.
  for (int step = 0; step <= 16; ++step)
    Controller(song, 7 * kBar + step * kEighth / 2, 1, step * 5);
  Controller(song, 8 * kBar + 6 * kQuarter, 1, 0);
  // The final chord scoops up a semitone into place.
  Bend(song, 8 * kBar - 1, 4096);
  Note(song, 8 * kBar, 6 * kQuarter, 81, 104);
  for (int step = 1; step <= 8; ++step)
    Bend(song, 8 * kBar + step * kEighth / 8, 4096 + step * 512);
}

}  // namespace

MidiFile DemoPhrase() {
  MidiFile song;
  song.format = 0;
  song.ticksPerQuarter = kQuarter;
  song.tempos.push_back({0, kTempo});
  song.signatures.push_back({0, 4, 4});
  Controller(song, 0, 1, 0);
  Bend(song, 0, 8192);
  ChordsAndBass(song);
  Melody(song);
  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  return song;
}

std::vector<std::string> DemoSound() {
  return {"Volume=-10.5",
          "Voices=64",
          "God Mode=On",
          "DCO1 Octave=2",
          "DCO1 Waveform=2",
          "DCO Mode=2",
          "DCO2 Octave=2",
          "DCO2 Waveform=1.4",
          "DCO2 16'=0.6",
          "DCO2 4'=0.5",
          "DCO2 2'=0",
          "DCO2 Level=24",
          "DCO2 Detune=1.2",
          "VCF Cutoff=38",
          "VCF Resonance=4",
          "VCF KBD Track=1",
          "VCF EG Intensity=9",
          "DEG1 Attack=14",
          "DEG1 Decay=22",
          "DEG1 Break Point=28",
          "DEG1 Slope=25",
          "DEG1 Sustain=22",
          "DEG1 Release=23",
          "DEG2 Attack=18",
          "DEG2 Decay=23",
          "DEG2 Break Point=26",
          "DEG2 Slope=25",
          "DEG2 Sustain=20",
          "DEG2 Release=23",
          "DEG3 Attack=12",
          "DEG3 Decay=23",
          "DEG3 Break Point=14",
          "DEG3 Slope=24",
          "DEG3 Sustain=8",
          "DEG3 Release=22",
          "MG Frequency=5",
          "MG Delay=9",
          "MG DCO=1",
          "Mod.Wheel to DCO=0.35",
          "Mod.Wheel to VCF=0.2",
          "Velocity=0.5",
          "Chorus=0.7",
          "Chorus Rate=0.18",
          "Stereo Chorus=On",
          // The rest of the sound as the default state has it: a new instance starts with
          // a factory program, which the demo does not build on.
          "Tune=0",
          "Bend=2",
          "Mode=Poly",
          "DCO1 16'=1",
          "DCO1 8'=1",
          "DCO1 4'=1",
          "DCO1 2'=1",
          "DCO1 Level=31",
          "DCO2 8'=1",
          "DCO2 Interval=0",
          "Noise Level=0",
          "VCF EG Polarity=2",
          "VCF Trigger=2",
          "MG VCF=0",
          "Legacy Mode=on",
          "Gain Boost=on",
          "Brightness=on"};
}
