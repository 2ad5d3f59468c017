#include "tools/render/Renderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "tools/host/PluginHost.h"
#include "tools/host/RenderError.h"

namespace {

constexpr double kProgressAfterSeconds = 10.0;  // shorter renders show no progress
constexpr int kSentTicksPerQuarter = 480;       // for songs timed in SMPTE frames
constexpr double kLongestSong = 24 * 3600.0;    // seconds; longer is a broken file

}  // namespace

Renderer::Renderer(PluginHost& host, const MidiFile& song, const RenderSettings& settings)
    : host_(host),
      song_(song),
      settings_(settings),
      timeline_(song, settings.sampleRate),
      random_(settings.seed) {
  // Measured in seconds before anything is counted in samples, which a broken file's
  // length could overflow.
  const double seconds = timeline_.SecondsOfTick(song.LastTick()) + settings.tailSeconds;
  if (!(seconds <= kLongestSong)) {
    char hours[64];
    std::snprintf(hours, sizeof hours, "%.0f", seconds / 3600.0);
    throw RenderError(std::string("the song lasts ") + hours +
                      " hours; nothing longer than a day is rendered");
  }
  for (const MidiEvent& event : song.events) {
    eventSamples_.push_back(timeline_.SampleOfTick(event.tick));
  }
  const int64_t end = eventSamples_.empty() ? 0 : eventSamples_.back() + 1;
  totalFrames_ = end + std::llround(settings.tailSeconds * settings.sampleRate);

  sent_.ticksPerQuarter = song.ticksPerSecond > 0.0 ? kSentTicksPerQuarter : song.ticksPerQuarter;
  const auto ticks = [this](double ppq) {
    return static_cast<uint64_t>(std::llround(ppq * sent_.ticksPerQuarter));
  };
  for (TempoChange tempo : song.tempos) {
    tempo.tick = ticks(timeline_.PpqOfTick(tempo.tick));
    sent_.tempos.push_back(tempo);
  }
  for (TimeSignatureChange signature : song.signatures) {
    signature.tick = ticks(timeline_.PpqOfTick(signature.tick));
    sent_.signatures.push_back(signature);
  }
}

void Renderer::Run(AudioSink& out) {
  host_.Prepare(settings_.sampleRate, settings_.blockSize);
  host_.Resume();
  const auto started = std::chrono::steady_clock::now();
  for (int64_t done = 0; done < totalFrames_;) {
    const int frames = static_cast<int>(std::min<int64_t>(NextBlockSize(), totalFrames_ - done));
    Transport(done, done == 0);
    HandOverEvents(done, frames);
    host_.Process(frames, settings_.doublePrecision);
    KeepSentEvents(done);
    stats_.Add(host_.Left(), host_.Right(), frames);
    out.Write(host_.Left(), host_.Right(), frames);
    done += frames;
    ShowProgress(done);
  }
  wallSeconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  host_.Suspend();
}

int Renderer::NextBlockSize() {
  if (!settings_.randomBlocks) return settings_.blockSize;
  return std::uniform_int_distribution<int>(1, settings_.blockSize)(random_);
}

void Renderer::Transport(int64_t sample, bool first) {
  const TransportPosition position = timeline_.PositionAt(sample);
  VstTimeInfo time{};
  time.samplePos = static_cast<double>(sample);
  time.sampleRate = settings_.sampleRate;
  time.nanoSeconds = time.samplePos / settings_.sampleRate * 1e9;
  time.ppqPos = position.ppq;
  time.tempo = position.tempo;
  time.barStartPos = position.barStart;
  time.timeSigNumerator = position.numerator;
  time.timeSigDenominator = position.denominator;
  time.flags = kVstTransportPlaying | kVstNanosValid | kVstPpqPosValid | kVstTempoValid |
               kVstBarsValid | kVstTimeSigValid | (first ? kVstTransportChanged : 0);
  host_.SetTransport(time);
}

// A program change loads a stored program over the settings the user made; they are
// made again right behind it.
void Renderer::HandOverEvents(int64_t start, int frames) {
  batch_.clear();
  offsets_.clear();
  bool programChanged = false;
  const std::vector<MidiEvent>& events = song_.events;
  for (; nextEvent_ < events.size() && eventSamples_[nextEvent_] < start + frames; ++nextEvent_) {
    const MidiEvent& event = events[nextEvent_];
    if (event.IsProgramChange() && settings_.ignoreProgramChanges) continue;
    programChanged = programChanged || event.IsProgramChange();
    batch_.push_back(&event);
    offsets_.push_back(static_cast<int32_t>(eventSamples_[nextEvent_] - start));
  }
  if (!batch_.empty()) host_.SendEvents(batch_, offsets_);
  if (programChanged) ApplyHeldSettings(host_, held_);
}

void Renderer::KeepSentEvents(int64_t start) {
  for (SentEvent& sent : host_.TakeSentEvents()) {
    const double ppq = timeline_.PositionAt(start + std::max(sent.deltaFrames, 0)).ppq;
    MidiEvent event;
    event.tick = static_cast<uint64_t>(std::llround(ppq * sent_.ticksPerQuarter));
    event.bytes = std::move(sent.bytes);
    sent_.events.push_back(std::move(event));
  }
}

void Renderer::ShowProgress(int64_t done) {
  if (!settings_.progress || totalFrames_ < kProgressAfterSeconds * settings_.sampleRate) return;
  const int percent = static_cast<int>(done * 100 / totalFrames_);
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  std::fprintf(stderr, "\rrendering %3d %%%s", percent, done == totalFrames_ ? "\n" : "");
  std::fflush(stderr);
}
