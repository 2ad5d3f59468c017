#pragma once

// The instrument set up as a host would, with helpers to play and render it.

#include <algorithm>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"

class PlayingPlug {
 public:
  explicit PlayingPlug(double rate = 44100.0, int blockSize = 512) {
    plug.ChangeSampleRate(rate);
    plug.ChangeBlockSize(blockSize);
    plug.ResetProcessing();
    plug.ActivationChanged(true);
  }

  // Sets a plain value the way the editor does.
  void Set(int index, double plain) {
    plug.SetParameterFromEditor(index, plug.GetParameter(index)->ToNormalized(plain));
  }
  void Send(int offset, int status, int data1, int data2) {
    plug.HandleMidiMessage({offset, static_cast<uint8_t>(status), static_cast<uint8_t>(data1),
                            static_cast<uint8_t>(data2)});
  }
  void NoteOn(int key, int velocity = 100, int offset = 0) { Send(offset, 0x90, key, velocity); }
  void NoteOff(int key, int offset = 0) { Send(offset, 0x80, key, 0); }

  // Renders `frames` samples in one block; left channel.
  std::vector<double> Render(int frames) {
    left.assign(static_cast<size_t>(frames), 0.0);
    right.assign(static_cast<size_t>(frames), 0.0);
    double* outputs[] = {left.data(), right.data()};
    plug.RenderBlock(nullptr, outputs, frames);
    return left;
  }
  // Renders in blocks of the given sizes (repeated) until `frames` samples are done.
  std::vector<double> RenderInBlocks(int frames, const std::vector<int>& sizes) {
    std::vector<double> all;
    for (size_t i = 0; static_cast<int>(all.size()) < frames; ++i) {
      const int size = std::min(sizes[i % sizes.size()], frames - static_cast<int>(all.size()));
      const std::vector<double> block = Render(size);
      all.insert(all.end(), block.begin(), block.end());
    }
    return all;
  }

  const Voice& VoiceAt(int index) const { return plug.GetVoice(index); }

  Tarsyn7 plug{nullptr};
  std::vector<double> left;
  std::vector<double> right;
};
