#include "tools/render/SampleSpool.h"

#include "tools/host/RenderError.h"

namespace {

constexpr int kReplayFrames = 8192;

}  // namespace

SampleSpool::SampleSpool(const std::string& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "w+b");
  if (!file_) throw RenderError(path + ": cannot create the render's temporary file");
}

SampleSpool::~SampleSpool() {
  std::fclose(file_);
  std::remove(path_.c_str());
}

void SampleSpool::Write(const double* left, const double* right, int frames) {
  frames_.resize(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    frames_[static_cast<size_t>(i) * 2] = static_cast<float>(left[i]);
    frames_[static_cast<size_t>(i) * 2 + 1] = static_cast<float>(right[i]);
  }
  if (std::fwrite(frames_.data(), sizeof(float), frames_.size(), file_) != frames_.size()) {
    throw RenderError(path_ + ": cannot write the render's temporary file (disk full?)");
  }
}

void SampleSpool::Replay(AudioSink& out) {
  if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
    throw RenderError(path_ + ": cannot read the render's temporary file back");
  }
  frames_.resize(kReplayFrames * 2);
  left_.resize(kReplayFrames);
  right_.resize(kReplayFrames);
  size_t count = 0;
  while ((count = std::fread(frames_.data(), 2 * sizeof(float), kReplayFrames, file_)) > 0) {
    for (size_t i = 0; i < count; ++i) {
      left_[i] = frames_[i * 2];
      right_[i] = frames_[i * 2 + 1];
    }
    out.Write(left_.data(), right_.data(), static_cast<int>(count));
  }
  if (std::ferror(file_))
    throw RenderError(path_ + ": cannot read the render's temporary file back");
}
