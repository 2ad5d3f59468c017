#include "resources/art/Panel.h"

#include <cmath>
#include <string>
#include <vector>

#include "drawing/Font.h"
#include "resources/art/ArtTools.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Color kPanelTop{255, 36, 37, 41};
constexpr Color kPanelBottom{255, 24, 25, 28};
constexpr Color kLabel{255, 226, 228, 232};
constexpr Color kHeading{255, 150, 196, 238};
constexpr Color kDim{255, 140, 143, 150};
constexpr Color kSlot{255, 6, 6, 8};
constexpr Color kRule{255, 84, 88, 96};

// A column of the parameter chart: its left edge, number and name lines.
struct ChartColumn {
  int x;
  int number;
  std::vector<std::string> name;
};

struct ChartGroup {
  const char* title;
  std::vector<ChartColumn> columns;
};

void Brushed(Bitmap& panel) {
  Canvas canvas(panel);
  FillRoundedRect(canvas, 0, 0, panel.Width(), panel.Height(), 0.0, kPanelTop, kPanelBottom);
  Grain grain(7);
  for (int y = 0; y < panel.Height(); ++y) {
    double streak = grain.Next();
    for (int x = 0; x < panel.Width(); x += 1) {
      double speck = grain.Next();
      uint8_t alpha = static_cast<uint8_t>(4 + 6 * speck * streak);
      canvas.BlendPixel(x, y, Premultiply({alpha, 255, 255, 255}));
    }
  }
}

// Heading with rules either side, centred over left..right.
void SectionTitle(Canvas& canvas, const char* title, int left, int right, int y) {
  double width = MeasureText(title, 11, TextStyle::kBold);
  int centre = (left + right) / 2;
  int half = static_cast<int>(width / 2) + 5;
  canvas.FillRect({left, y + 5, centre - half, y + 6}, kRule);
  canvas.FillRect({centre + half, y + 5, right, y + 6}, kRule);
  PrintCentred(canvas, title, centre, y, 11, kHeading, TextStyle::kBold);
}

void Recess(Canvas& canvas, int left, int top, int right, int bottom, double radius = 3.0) {
  FillRoundedRect(canvas, left - 1, top - 1, right + 1, bottom + 1, radius + 1, {255, 10, 10, 12},
                  {255, 70, 72, 78});
  FillRoundedRect(canvas, left, top, right, bottom, radius, {255, 8, 8, 10}, {255, 16, 16, 19});
}

// The slot a fader handle rides in, with a scale beside it.
void VerticalSlot(Canvas& canvas, int left, int top, int length, int handleWidth) {
  int centre = left + handleWidth / 2;
  FillRoundedRect(canvas, centre - 2, top + 4, centre + 2, top + length - 4, 2.0, kSlot, kSlot);
  for (int i = 0; i <= 10; ++i) {
    int y = top + 15 + i * (length - 30) / 10;
    int reach = i % 5 == 0 ? 7 : 4;
    canvas.FillRect({left - 2 - reach, y, left - 2, y + 1}, kDim);
    canvas.FillRect({left + handleWidth + 2, y, left + handleWidth + 2 + reach, y + 1}, kDim);
  }
}

void HorizontalSlot(Canvas& canvas, int left, int top, int length, int handleHeight) {
  int centre = top + handleHeight / 2;
  FillRoundedRect(canvas, left + 4, centre - 2, left + length - 4, centre + 2, 2.0, kSlot, kSlot);
  for (int i = 0; i <= 10; ++i) {
    int x = left + 15 + i * (length - 30) / 10;
    int reach = i % 5 == 0 ? 6 : 3;
    canvas.FillRect({x, top + handleHeight + 1, x + 1, top + handleHeight + 1 + reach}, kDim);
  }
}

void TopStrip(Canvas& canvas) {
  Recess(canvas, 3, 2, 648, 22, 2.0);
  canvas.FillRect({494, 4, 495, 20}, {255, 40, 42, 46});
}

void LeftSection(Canvas& canvas) {
  Print(canvas, "TUNE", 26, 38, 10, kLabel, TextStyle::kBold);
  Print(canvas, "-", 26, 78, 10, kDim);
  Print(canvas, "+", 132, 78, 10, kDim);
  HorizontalSlot(canvas, 26, 55, 112, 20);
  SectionTitle(canvas, "VOLUME", 20, 142, 112);
  // The knob's scale, 7:30 to 4:30.
  for (int i = 0; i <= 10; ++i) {
    double angle = (-225.0 + 27.0 * i) * kPi / 180.0;
    double inner = i % 5 == 0 ? 33.0 : 34.5;
    DrawThickLine(canvas, 81 + inner * std::cos(angle), 184 + inner * std::sin(angle),
                  81 + 38.5 * std::cos(angle), 184 + 38.5 * std::sin(angle), 1.2, kDim);
  }
  Print(canvas, "MIN", 36, 222, 8, kDim);
  Print(canvas, "MAX", 110, 222, 8, kDim);
  // LED switches: the LED, then the printed label (and the reverse).
  Recess(canvas, 17, 249, 27, 259, 5.0);
  Print(canvas, "GAIN", 30, 243, 9, kLabel, TextStyle::kBold);
  Print(canvas, "BOOST", 30, 253, 9, kLabel, TextStyle::kBold);
  Recess(canvas, 137, 249, 147, 259, 5.0);
  Print(canvas, "BRIGHT", 134, 248, 9, kLabel, TextStyle::kBold, TextStyle::kRight);
}

void PerformanceSection(Canvas& canvas) {
  Recess(canvas, 176, 72, 280, 96, 4.0);
  SectionTitle(canvas, "CONTROL", 160, 270, 112);
  VerticalSlot(canvas, 170, 130, 112, 16);
  VerticalSlot(canvas, 242, 130, 112, 16);
  PrintCentred(canvas, "BEND", 178, 246, 9, kLabel, TextStyle::kBold);
  PrintCentred(canvas, "RANGE", 178, 255, 9, kLabel, TextStyle::kBold);
  PrintCentred(canvas, "SEQ.", 250, 246, 9, kLabel, TextStyle::kBold);
  PrintCentred(canvas, "FREQ.", 250, 255, 9, kLabel, TextStyle::kBold);
}

// A tall push button's well and its legend below.
void ButtonWell(Canvas& canvas, int left, int top, int width, int height) {
  Recess(canvas, left - 2, top - 2, left + width + 2, top + height + 2, 3.0);
}

void LegendBelow(Canvas& canvas, int centre, int y, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    PrintCentred(canvas, lines[i], centre, y + static_cast<int>(i) * 9, 9, kLabel,
                 TextStyle::kBold);
  }
}

void SequencerAndKeys(Canvas& canvas) {
  SectionTitle(canvas, "SEQUENCER", 282, 362, 100);
  Recess(canvas, 285, 113, 306, 134, 10.0);
  Print(canvas, "REC", 310, 118, 9, {255, 255, 110, 100}, TextStyle::kBold);
  ButtonWell(canvas, 288, 144, 16, 80);
  ButtonWell(canvas, 328, 144, 16, 80);
  LegendBelow(canvas, 296, 230, {"STEP"});
  LegendBelow(canvas, 336, 230, {"START", "STOP"});
  SectionTitle(canvas, "KEY ASSIGN", 374, 498, 100);
  ButtonWell(canvas, 386, 144, 16, 80);
  ButtonWell(canvas, 428, 144, 16, 80);
  ButtonWell(canvas, 470, 144, 16, 80);
  LegendBelow(canvas, 394, 230, {"POLY"});
  LegendBelow(canvas, 436, 230, {"CHORD", "MEMORY"});
  LegendBelow(canvas, 478, 230, {"HOLD"});
}

void Programmer(Canvas& canvas) {
  // The display window, headed by what each digit pair shows.
  PrintCentred(canvas, "PROGRAM NO.", 528 + 36, 22, 9, kLabel, TextStyle::kBold);
  PrintCentred(canvas, "PARAMETER NO.", 528 + 126, 22, 9, kLabel, TextStyle::kBold);
  PrintCentred(canvas, "VALUE", 528 + 221, 22, 9, kLabel, TextStyle::kBold);
  Recess(canvas, 528, 32, 786, 84, 4.0);
  FillRoundedRect(canvas, 530, 34, 784, 82, 3.0, {255, 20, 8, 9}, {255, 8, 4, 5});
  for (int x : {528 + 83, 528 + 178}) canvas.FillRect({x, 38, x + 1, 78}, {255, 48, 24, 24});
  SectionTitle(canvas, "PROGRAMMER", 520, 700, 100);
  // Keypad: 7 8 PROG/PARA, 4 5 6, 1 2 3, BANK HOLD below.
  const char* legends[3][3] = {{"7", "8", "PROG/PARA"}, {"4", "5", "6"}, {"1", "2", "3"}};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      int left = 530 + 60 * column;
      int top = 130 + 34 * row;
      Recess(canvas, left - 1, top - 1, left + 43, top + 13, 2.0);
      PrintCentred(canvas, legends[row][column], left + 21, top - 13,
                   row == 0 && column == 2 ? 9 : 11, kLabel, TextStyle::kBold);
    }
  }
  Recess(canvas, 573, 231, 649, 245, 2.0);
  PrintCentred(canvas, "BANK HOLD", 611, 219, 9, kLabel, TextStyle::kBold);
  SectionTitle(canvas, "VALUE", 708, 786, 100);
  ButtonWell(canvas, 718, 144, 16, 80);
  ButtonWell(canvas, 760, 144, 16, 80);
  LegendBelow(canvas, 726, 230, {"DOWN"});
  LegendBelow(canvas, 768, 230, {"UP"});
  canvas.FillRect({701, 110, 702, 250}, kRule);
}

void MidiAndModulation(Canvas& canvas) {
  SectionTitle(canvas, "MIDI", 790, 832, 100);
  ButtonWell(canvas, 802, 144, 16, 42);
  LegendBelow(canvas, 810, 192, {"CC", "LEARN"});
  Recess(canvas, 783, 242, 834, 254, 2.0);
  canvas.FillRect({846, 8, 847, 260}, kRule);
  // Engine mode, voices, filter and chorus switches.
  Recess(canvas, 872, 11, 975, 38, 3.0);
  const struct {
    int x;
    const char* name;
    const char* up;
    const char* down;
  } switches[] = {
      {888, "VOICES", "8", "4"}, {946, "GOD MODE", "ON", "OFF"}, {1004, "CHORUS", "ST", "MONO"}};
  for (const auto& s : switches) {
    PrintCentred(canvas, s.name, s.x + 9, 41, 9, kLabel, TextStyle::kBold);
    Recess(canvas, s.x, 61, s.x + 18, 87, 3.0);
    Print(canvas, s.up, s.x + 21, 58, 8, kDim);
    Print(canvas, s.down, s.x + 21, 84, 8, kDim);
  }
  SectionTitle(canvas, "MODULATION", 860, 1046, 112);
  VerticalSlot(canvas, 890, 130, 112, 16);
  VerticalSlot(canvas, 948, 130, 112, 16);
  VerticalSlot(canvas, 1006, 130, 112, 16);
  PrintCentred(canvas, "DCO", 898, 246, 9, kLabel, TextStyle::kBold);
  PrintCentred(canvas, "VELOCITY", 1014, 246, 9, kLabel, TextStyle::kBold);
  Recess(canvas, 931, 242, 977, 254, 2.0);
  PrintCentred(canvas, "VCF", 956, 256, 9, kLabel, TextStyle::kBold);
}

void Brand(Canvas& canvas) {
  canvas.FillRect({8, 272, 1046, 273}, kRule);
  Print(canvas, "TARSYN7", 14, 280, 30, {255, 236, 238, 242}, TextStyle::kBold);
  Print(canvas, "PROGRAMMABLE POLYPHONIC SYNTHESIZER", 168, 295, 12, kHeading, TextStyle::kBold);
  Print(canvas, "DIGITAL CONTROLLED OSCILLATORS  -  4-POLE VCF  -  3 x DEG  -  STEP SEQUENCER",
        1040, 297, 9, kDim, TextStyle::kNormal, TextStyle::kRight);
}

std::vector<ChartColumn> Run(int x, int pitch, int firstNumber,
                             const std::vector<std::vector<std::string>>& names) {
  std::vector<ChartColumn> columns;
  for (size_t i = 0; i < names.size(); ++i) {
    columns.push_back(
        {x + pitch * static_cast<int>(i), firstNumber + static_cast<int>(i), names[i]});
  }
  return columns;
}

void Chart(Canvas& canvas, int top, const std::vector<ChartGroup>& groups, Color band) {
  for (const ChartGroup& group : groups) {
    int left = group.columns.front().x;
    int right = group.columns.back().x + 38;
    FillRoundedRect(canvas, left - 2, top - 16, right + 2, top + 94, 3.0, {255, 16, 16, 19},
                    {255, 13, 13, 15});
    FillRoundedRect(canvas, left - 2, top - 16, right + 2, top - 3, 3.0, band, Shade(band, 0.85));
    PrintCentred(canvas, group.title, (left + right) / 2, top - 15, 11, {255, 250, 250, 250},
                 TextStyle::kBold);
    for (const ChartColumn& column : group.columns) {
      int centre = column.x + 19;
      FillRoundedRect(canvas, column.x, top + 1, column.x + 38, top + 20, 2.0, {255, 52, 54, 60},
                      {255, 40, 42, 47});
      PrintCentred(canvas, std::to_string(column.number), centre, top + 3, 15, {255, 255, 255, 255},
                   TextStyle::kBold);
      for (size_t line = 0; line < column.name.size(); ++line) {
        PrintCentred(canvas, column.name[line], centre, top + 26 + static_cast<int>(line) * 10, 9,
                     kLabel, TextStyle::kNormal);
      }
      canvas.FillRect({centre, top + 58, centre + 1, top + 88}, {255, 60, 62, 68});
    }
  }
}

void ParameterChart(Canvas& canvas) {
  const std::vector<std::string> octave{"OCTAVE"}, wave{"WAVE", "FORM"}, level{"LEVEL"};
  Chart(canvas, 338,
        {{"DCO 1", Run(18, 40, 11, {octave, wave, {"16'"}, {"8'"}, {"4'"}, {"2'"}, level})},
         {"MODE", {{302, 18, {"DCO", "MODE"}}}},
         {"DCO 2",
          [&] {
            auto columns = Run(346, 40, 21, {octave, wave, {"16'"}, {"8'"}, {"4'"}, {"2'"}, level});
            auto more = Run(626, 40, 31, {{"INTER-", "VAL"}, {"DETUNE"}});
            columns.insert(columns.end(), more.begin(), more.end());
            return columns;
          }()},
         {"NOISE", {{710, 33, {"NOISE", "LEVEL"}}}},
         {"VCF", Run(754, 40, 41,
                     {{"CUTOFF"},
                      {"RESO-", "NANCE"},
                      {"KBD", "TRACK"},
                      {"EG", "POLAR."},
                      {"EG", "INTENS."},
                      {"TRIG-", "GER"}})},
         {"CHO.", {{998, 48, {"CHORUS", "ON/OFF"}}}}},
        {255, 52, 86, 140});
  const std::vector<std::vector<std::string>> envelope{
      {"ATTACK"}, {"DECAY"}, {"BREAK", "POINT"}, {"SLOPE"}, {"SUS-", "TAIN"}, {"RE-", "LEASE"}};
  Chart(canvas, 474,
        {{"DEG 1  (DCO 1)", Run(18, 40, 51, envelope)},
         {"DEG 2  (DCO 2)", Run(262, 40, 61, envelope)},
         {"DEG 3  (VCF)", Run(506, 40, 71, envelope)},
         {"MG", Run(750, 40, 81, {{"FREQ."}, {"DELAY"}, {"DCO"}, {"VCF"}})},
         {"SEQ.", Run(915, 41, 86, {{"CLOCK"}, {"PLAY ON", "NOTE"}, {"TRANS-", "POSE"}})}},
        {255, 140, 60, 48});
}

}  // namespace

Bitmap FrontPanel() {
  Bitmap panel(1054, 600);
  Brushed(panel);
  Canvas canvas(panel);
  TopStrip(canvas);
  LeftSection(canvas);
  PerformanceSection(canvas);
  SequencerAndKeys(canvas);
  Programmer(canvas);
  MidiAndModulation(canvas);
  Brand(canvas);
  ParameterChart(canvas);
  canvas.FillRect({8, 578, 1046, 579}, kRule);
  Print(canvas, "CORVANE MUSIC", 1040, 584, 10, kDim, TextStyle::kBold, TextStyle::kRight);
  canvas.FrameRect(panel.Bounds(), {255, 8, 8, 10});
  return panel;
}
