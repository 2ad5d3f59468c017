#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "tools/host/MidiFile.h"
#include "tools/render/SignalStats.h"
#include "tools/render/Timeline.h"

#include "tools/render/AudioSink.h"
#include "tools/render/SoundSelection.h"

class PluginHost;

struct RenderSettings {
  int sampleRate = 48000;
  int blockSize = 512;
  bool randomBlocks = false;  // each block 1 to blockSize frames long
  uint32_t seed = 1;
  double tailSeconds = 2.0;
  bool doublePrecision = false;
  bool ignoreProgramChanges = false;  // the song's program changes are not handed over
  bool progress = false;              // a progress line on stderr for long renders
};

// Plays a song through the plug-in, block by block, into an audio file: every event is
// handed over in the block it falls in, at its own sample, with the transport of the
// song's time map.
class Renderer {
 public:
  // Throws RenderError for a song that would last longer than a day.
  Renderer(PluginHost& host, const MidiFile& song, const RenderSettings& settings);

  // Settings made again after every program change the song hands over, so they hold
  // for the whole render.
  void HoldSettings(std::vector<HeldSetting> held) { held_ = std::move(held); }

  // Renders up to the last event and the tail after it.
  void Run(AudioSink& out);

  const SignalStats& Stats() const { return stats_; }
  double WallSeconds() const { return wallSeconds_; }
  // What the plug-in sent, on the song's time map.
  const MidiFile& SentMidi() const { return sent_; }

 private:
  int NextBlockSize();
  void Transport(int64_t sample, bool first);
  void HandOverEvents(int64_t start, int frames);
  void KeepSentEvents(int64_t start);
  void ShowProgress(int64_t done);

  PluginHost& host_;
  const MidiFile& song_;
  RenderSettings settings_;
  Timeline timeline_;
  std::vector<int64_t> eventSamples_;
  size_t nextEvent_ = 0;
  int64_t totalFrames_ = 0;
  std::mt19937 random_;
  int shownPercent_ = -1;
  std::vector<const MidiEvent*> batch_;
  std::vector<int32_t> offsets_;
  SignalStats stats_;
  double wallSeconds_ = 0.0;
  MidiFile sent_;
  std::vector<HeldSetting> held_;
};
