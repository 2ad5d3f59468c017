#include "tools/render/AudioFileWriter.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "tools/host/RenderError.h"

namespace {

int SubtypeForBits(int bits) {
  switch (bits) {
    case 16:
      return SF_FORMAT_PCM_16;
    case 24:
      return SF_FORMAT_PCM_24;
    case 32:
      return SF_FORMAT_FLOAT;
    default:
      throw RenderError("samples are 16, 24 or 32 bits, not " + std::to_string(bits));
  }
}

bool IsFlacName(const std::string& path) {
  const std::string suffix = ".flac";
  if (path.size() < suffix.size()) return false;
  return std::equal(
      suffix.begin(), suffix.end(), path.end() - static_cast<long>(suffix.size()),
      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// Whether this libsndfile was built with the FLAC codec (Windows builds are not).
bool CanWriteFlac() {
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
  for (int i = 0; i < count; ++i) {
    SF_FORMAT_INFO format{};
    format.format = i;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &format, sizeof format);
    if (format.format == SF_FORMAT_FLAC) return true;
  }
  return false;
}

}  // namespace

AudioFileWriter::AudioFileWriter(const std::string& path, int sampleRate, int bits) : path_(path) {
  const bool flac = IsFlacName(path);
  if (flac && !CanWriteFlac())
    throw RenderError(path +
                      ": this build cannot write FLAC (its libsndfile has no FLAC "
                      "codec); name a .wav file");
  if (flac && bits == 32) throw RenderError("FLAC holds 16- or 24-bit samples, not float");
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = 2;
  info.format = (flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | SubtypeForBits(bits);
  if (!sf_format_check(&info))
    throw RenderError(path + ": this sample rate and format do not go together");
  file_ = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file_) throw RenderError(path + ": " + sf_strerror(nullptr));
  // Integer samples beyond full scale are clipped rather than wrapped around.
  isFloat_ = bits == 32;
  sf_command(file_, SFC_SET_CLIPPING, nullptr, isFloat_ ? SF_FALSE : SF_TRUE);
}

void AudioFileWriter::SetGain(double decibels) {
  gainDecibels_ = decibels;
  gain_ = std::pow(10.0, decibels / 20.0);
}

AudioFileWriter::~AudioFileWriter() {
  if (file_) sf_close(file_);
}

void AudioFileWriter::Write(const double* left, const double* right, int frames) {
  interleaved_.resize(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    interleaved_[static_cast<size_t>(i) * 2] = left[i] * gain_;
    interleaved_[static_cast<size_t>(i) * 2 + 1] = right[i] * gain_;
  }
  for (const double sample : interleaved_) {
    const double size = std::fabs(sample);
    peak_ = std::fmax(peak_, size);
    if (size > 1.0) ++beyondFullScale_;
  }
  samplesWritten_ += static_cast<int64_t>(interleaved_.size());
  if (sf_writef_double(file_, interleaved_.data(), frames) != frames) {
    throw RenderError(path_ + ": " + sf_strerror(file_));
  }
}

void AudioFileWriter::Close() {
  SNDFILE* file = file_;
  file_ = nullptr;
  if (file && sf_close(file) != 0) throw RenderError(path_ + ": cannot finish the file");
}
