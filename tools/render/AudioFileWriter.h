#pragma once

#include <string>
#include <vector>

struct sf_private_tag;

// A stereo audio file written block by block: WAV, or FLAC when the name ends in
// ".flac"; 16- or 24-bit integer samples, or (WAV only) 32-bit float.
class AudioFileWriter {
 public:
  // Throws RenderError for an unsupported combination or a file that cannot be created.
  AudioFileWriter(const std::string& path, int sampleRate, int bits);
  ~AudioFileWriter();
  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  void Write(const double* left, const double* right, int frames);
  // Finishes the file; throws RenderError when that fails.
  void Close();

 private:
  std::string path_;
  sf_private_tag* file_ = nullptr;
  std::vector<double> interleaved_;
};
