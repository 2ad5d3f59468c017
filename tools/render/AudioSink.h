#pragma once

// Where the renderer puts each stereo block it renders.
class AudioSink {
 public:
  virtual ~AudioSink() = default;
  virtual void Write(const double* left, const double* right, int frames) = 0;
};
