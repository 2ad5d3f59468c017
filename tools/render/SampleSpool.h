#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/AudioSink.h"

// A whole render kept on disk as 32-bit float frames, for what needs all of it before the
// output file is written (peak normalisation). The file is removed when done.
class SampleSpool : public AudioSink {
 public:
  // Throws RenderError when the file cannot be created.
  explicit SampleSpool(const std::string& path);
  ~SampleSpool() override;
  SampleSpool(const SampleSpool&) = delete;
  SampleSpool& operator=(const SampleSpool&) = delete;

  void Write(const double* left, const double* right, int frames) override;
  // Hands everything written, in order, to `out`.
  void Replay(AudioSink& out);

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  std::vector<float> frames_;
  std::vector<double> left_;
  std::vector<double> right_;
};
