#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/render/AudioSink.h"

struct sf_private_tag;

// A stereo audio file written block by block: WAV, or FLAC when the name ends in
// ".flac"; 16- or 24-bit integer samples, or (WAV only) 32-bit float. Samples are scaled
// by the gain on the way. Integer samples beyond full scale are clipped and counted;
// float samples are kept as they are.
class AudioFileWriter : public AudioSink {
 public:
  // Throws RenderError for an unsupported combination or a file that cannot be created.
  AudioFileWriter(const std::string& path, int sampleRate, int bits);
  ~AudioFileWriter() override;
  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  void SetGain(double decibels);
  double GainDecibels() const { return gainDecibels_; }
  void Write(const double* left, const double* right, int frames) override;
  // Finishes the file; throws RenderError when that fails.
  void Close();

  bool WritesFloat() const { return isFloat_; }
  // Samples (of either channel) beyond full scale after the gain, and the largest one.
  int64_t SamplesBeyondFullScale() const { return beyondFullScale_; }
  int64_t SamplesWritten() const { return samplesWritten_; }
  double Peak() const { return peak_; }

 private:
  std::string path_;
  sf_private_tag* file_ = nullptr;
  bool isFloat_ = false;
  double gainDecibels_ = 0.0;
  double gain_ = 1.0;
  std::vector<double> interleaved_;
  int64_t beyondFullScale_ = 0;
  int64_t samplesWritten_ = 0;
  double peak_ = 0.0;
};
