#include "programs/TapeStreamSearch.h"

#include <cstddef>

#include "programs/TapeBitDetector.h"
#include "programs/TapeFormat.h"

namespace {

constexpr std::size_t kStreamLengths[] = {tape::kPoly800StreamBytes, tape::kPoly800IIStreamBytes};

struct Frame {
  bool complete = false;  // all 11 bits present
  bool valid = false;     // start and stop bits right, no broken half-wave
  uint8_t byte = 0;
};

class StreamSearch {
 public:
  explicit StreamSearch(const std::vector<uint8_t>& bits) : bits_(bits) {}

  TapeStreamResult Run() {
    std::size_t position = 0;
    while (FindLeadIn(position)) {
      std::size_t data = 0;
      if (!FindDataStart(position, data)) break;
      TapeStreamResult result;
      if (ReadData(data, result.stream, position)) return result;
    }
    return TapeStreamResult{{}, error_};
  }

 private:
  Frame FrameAt(std::size_t position) const {
    Frame frame;
    if (position > bits_.size() || bits_.size() - position < tape::kFrameBits) return frame;
    frame.complete = true;
    const uint8_t* bit = bits_.data() + position;
    bool intact = bit[0] == kTapeBit0 && bit[9] == kTapeBit1 && bit[10] == kTapeBit1;
    for (int i = 0; i < 8; ++i) {
      intact = intact && bit[1 + i] != kTapeBitBroken;
      frame.byte = static_cast<uint8_t>(frame.byte | (bit[1 + i] & 1) << i);
    }
    frame.valid = intact;
    return frame;
  }

  // One bit on, then to the next 0 bit: where the next frame may start.
  std::size_t Resynchronise(std::size_t position) const {
    ++position;
    while (position < bits_.size() && bits_[position] != kTapeBit0) ++position;
    return position;
  }

  // Moves `position` behind the first eleven valid 255 frames in a row (invalid frames
  // between them are passed over); false when the bits run out first.
  bool FindLeadIn(std::size_t& position) const {
    int count = 0;
    while (position < bits_.size()) {
      const Frame frame = FrameAt(position);
      if (!frame.complete) break;
      if (!frame.valid) {
        position = Resynchronise(position);
        continue;
      }
      position += tape::kFrameBits;
      count = frame.byte == tape::kLeadByte ? count + 1 : 0;
      if (count >= tape::kLeadInFrames) return true;
    }
    return false;
  }

  // From inside a lead-in, the position of its first frame that is not a 255.
  bool FindDataStart(std::size_t position, std::size_t& data) {
    while (true) {
      const Frame frame = FrameAt(position);
      if (!frame.complete) {
        Fail(0, "the recording ends inside a lead-in");
        return false;
      }
      if (!frame.valid) {
        position = Resynchronise(position);
      } else if (frame.byte == tape::kLeadByte) {
        position += tape::kFrameBits;
      } else {
        data = position;
        return true;
      }
    }
  }

  // Reads frames every 11 bits from `data`. True with a complete stream; false with
  // `resume` where the search goes on.
  bool ReadData(std::size_t data, std::vector<uint8_t>& stream, std::size_t& resume) {
    std::size_t runStart = 0;  // stream index where the current run of 255 bytes began
    std::size_t runBit = data;
    for (std::size_t position = data;; position += tape::kFrameBits) {
      const Frame frame = FrameAt(position);
      const std::size_t run = stream.size() - runStart;
      const bool leadOutEnded = run >= tape::kLeadOutBytes &&
                                (!frame.complete || !frame.valid || frame.byte != tape::kLeadByte);
      if (leadOutEnded) {
        // A lead-out before a complete stream: it was a lead-in after all.
        Fail(runStart, "the data ends after " + std::to_string(runStart) + " bytes");
        resume = runBit;
        return false;
      }
      if (!frame.complete) {
        Fail(stream.size(), "the recording ends before the lead-out");
        resume = bits_.size();
        return false;
      }
      if (!frame.valid) {
        Fail(stream.size(), "frame error at byte " + std::to_string(stream.size()));
        resume = position + 1;
        return false;
      }
      stream.push_back(frame.byte);
      if (frame.byte != tape::kLeadByte) {
        runStart = stream.size();
        runBit = position + tape::kFrameBits;
      }
      if (Complete(stream, runStart)) return true;
    }
  }

  // True once the run of 255 bytes at the end of `stream`, begun at `runStart`, holds a
  // full lead-out behind a complete stream; `stream` is then cut to that stream. A few
  // 255 bytes at the end of the data (fewer than a lead-out) stay with it. A run
  // beginning beyond every stream length ends a stream of that (wrong) length, for the
  // caller to refuse.
  static bool Complete(std::vector<uint8_t>& stream, std::size_t runStart) {
    if (stream.size() - runStart < tape::kLeadOutBytes) return false;
    const std::size_t dataRoom = stream.size() - tape::kLeadOutBytes;
    for (std::size_t length : kStreamLengths) {
      if (runStart <= length && length - runStart < tape::kLeadOutBytes && length <= dataRoom) {
        stream.resize(length);
        return true;
      }
    }
    if (runStart > kStreamLengths[1]) {
      stream.resize(runStart);
      return true;
    }
    return false;
  }

  // Keeps the reason of the attempt that came furthest.
  void Fail(std::size_t reached, std::string reason) {
    if (reached < longest_) return;
    longest_ = reached;
    error_ = std::move(reason);
  }

  const std::vector<uint8_t>& bits_;
  std::string error_ = "no lead-in found";
  std::size_t longest_ = 0;
};

}  // namespace

TapeStreamResult FindTapeStream(const std::vector<uint8_t>& bits) {
  return StreamSearch(bits).Run();
}
