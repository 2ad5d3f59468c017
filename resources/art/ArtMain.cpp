// Draws the editor's images into a folder: tarsyn7-art FOLDER. The same bytes on every
// run, so the build only changes them when this program changes.

#include <cstdio>
#include <string>

#include "drawing/Png.h"
#include "resources/art/Controls.h"
#include "resources/art/Panel.h"

namespace {

constexpr Color kGrey{255, 168, 170, 176};
constexpr Color kBlue{255, 58, 112, 196};
constexpr Color kRed{255, 206, 44, 36};
constexpr Color kRedSegment{255, 255, 48, 32};
constexpr Color kGreenSegment{255, 70, 255, 110};
constexpr Color kLabelWhite{255, 236, 236, 236};

struct Image {
  const char* file;
  Bitmap (*draw)();
};

const Image kImages[] = {
    {"back.png", FrontPanel},
    {"button.png", [] { return PushButton(16, 160, kGrey); }},
    {"button_blue.png", [] { return PushButton(16, 160, kBlue); }},
    {"button_h_blue.png", [] { return PushButton(74, 24, kBlue); }},
    {"button_red.png", [] { return PushButton(16, 84, kRed); }},
    {"button_s.png", [] { return PushButton(42, 24, kGrey); }},
    {"button_s_blue.png", [] { return PushButton(42, 24, kBlue); }},
    {"digits.png", [] { return SevenSegmentDigits(kRedSegment); }},
    {"digits_green.png", [] { return SevenSegmentDigits(kGreenSegment); }},
    {"dot.png", [] { return DecimalPoints(kRedSegment); }},
    {"dot_green.png", [] { return DecimalPoints(kGreenSegment); }},
    {"handle_h.png", [] { return FaderHandle(30, 20, false); }},
    {"handle_lever.png", LeverHandle},
    {"handle_v.png", [] { return FaderHandle(16, 30, true); }},
    {"learn.png",
     [] {
       return LabelPair(49, 16, "LEARN", "UNLEARN", {255, 255, 120, 100});
     }},
    {"lever.png", LeverTrack},
    {"menu.png", MenuButton},
    {"mode.png", ModeLabel},
    {"record.png", RecordButton},
    {"switch.png", ToggleSwitch},
    {"volume.png", VolumeKnob},
    {"led.png", Led},
    {"wheelbreath.png", [] { return LabelPair(44, 20, "WHEEL", "BREATH", kLabelWhite); }},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarsyn7-art FOLDER\n");
    return 2;
  }
  for (const Image& image : kImages) {
    std::string path = std::string(argv[1]) + "/" + image.file;
    if (!WritePngFile(image.draw(), path)) {
      std::fprintf(stderr, "tarsyn7-art: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
