// The renderer's command line: what it accepts, what it refuses and what it writes.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <utility>

#include "drawing/Png.h"
#include "tests/tools/SmfBytes.h"
#include "tests/tools/ToolRun.h"
#include "tools/render/MidiFileReader.h"

namespace {

constexpr const char* kAmsynth = "/usr/lib/vst/amsynth_vst.so";

std::vector<uint8_t> OneNote() {
  TrackBytes track;
  track.Event(0, {0x90, 69, 100}).Event(480, {0x80, 69, 0}).End();
  return SmfBytes(0, 480, {track});
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The line of `text` that starts with `start`, without its line break.
std::string LineWith(const std::string& text, const std::string& start) {
  const size_t begin = text.find(start);
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find('\n', begin) - begin);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

double Peak(const std::vector<double>& x) {
  double peak = 0.0;
  for (double s : x) peak = std::max(peak, std::fabs(s));
  return peak;
}

// Big-endian record of an FXP parameter program: "CcnK", size, "FxCk", version 1, the
// plug-in's identifier and version, the values and a name.
std::vector<uint8_t> ParameterProgram(const char* plugin, const std::vector<float>& values) {
  std::vector<uint8_t> bytes = {'C', 'c', 'n', 'K'};
  AppendBigEndian(bytes, static_cast<uint32_t>(48 + 4 * values.size()), 4);
  bytes.insert(bytes.end(), {'F', 'x', 'C', 'k', 0, 0, 0, 1});
  bytes.insert(bytes.end(), plugin, plugin + 4);
  AppendBigEndian(bytes, 1, 4);
  AppendBigEndian(bytes, static_cast<uint32_t>(values.size()), 4);
  const char name[28] = "Quiet";
  bytes.insert(bytes.end(), name, name + 28);
  for (float value : values) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    AppendBigEndian(bytes, bits, 4);
  }
  return bytes;
}

class RenderTool : public ::testing::Test {
 protected:
  void SetUp() override { WriteBytes(folder.Path("note.mid"), OneNote()); }

  // Renders note.mid through Tarsyn7 with the extra arguments.
  ToolResult RenderNote(std::vector<std::string> extra, const std::string& output = "out.wav") {
    std::vector<std::string> arguments = {
        folder.Path("note.mid"), "--plugin", TARSYN7_PLUGIN_PATH, "--tail", "0.1", "-o",
        folder.Path(output)};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return RunTool(arguments);
  }

  TempFolder folder;
};

}  // namespace

TEST_F(RenderTool, WrongCommandLinesShowHowToUseIt) {
  const std::string out = folder.Path("out.wav");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--frobnicate", "-o", out},
        {"--block-size", "0", "-o", out},
        {"--block-size", "8193", "-o", out},
        {"--block-size=12x", "-o", out},
        {"--bits", "20", "-o", out},
        {"--tail", "-1", "-o", out},
        {"--sample-rate", "fast", "-o", out},
        {"a.mid", "b.mid", "-o", out},
        {"--stats"},
        {"-o"},
        {"--double=yes", "-o", out},
        {"--gain", "3", "--normalize", "-o", out},
        {"--normalize", "1", "-o", out}}) {
    const ToolResult result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments[0];
    EXPECT_TRUE(Contains(result.output, "--help")) << result.output;
  }
}

TEST_F(RenderTool, RefusesBrokenAndMissingMidiFiles) {
  std::vector<uint8_t> cut = OneNote();
  cut.resize(cut.size() - 5);
  WriteBytes(folder.Path("cut.mid"), cut);
  WriteBytes(folder.Path("text.mid"), {'h', 'e', 'l', 'l', 'o', '\n'});
  for (const std::string name : {"cut.mid", "text.mid", "missing.mid"}) {
    const ToolResult result =
        RunTool({folder.Path(name), "--plugin", TARSYN7_PLUGIN_PATH, "-o", folder.Path("out.wav")});
    EXPECT_EQ(result.exitCode, 1) << name;
    EXPECT_TRUE(Contains(result.output, folder.Path(name) + ": ")) << result.output;
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.wav"))) << name;
  }
  EXPECT_TRUE(Contains(RunTool({folder.Path("text.mid"), "-o", "x.wav"}).output,
                       "not a Standard MIDI File"));
}

// Lengths are compared in seconds: counted in samples, this one (7 million years at
// 16.8 s a tick) would overflow.
TEST_F(RenderTool, RefusesSongsLongerThanADay) {
  TrackBytes track;
  track.Tempo(0, 0xFFFFFF);
  for (int i = 0; i < 50000; ++i) track.Event(0x0FFFFFFF, {0xB0, 1, 0});
  WriteBytes(folder.Path("long.mid"), SmfBytes(0, 1, {track.End()}));
  const ToolResult result = RunTool(
      {folder.Path("long.mid"), "--plugin", TARSYN7_PLUGIN_PATH, "-o", folder.Path("out.wav")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.output, "nothing longer than a day is rendered")) << result.output;
  EXPECT_FALSE(std::filesystem::exists(folder.Path("out.wav")));
}

// A program change in the song loads a stored program over what --set gave, which is
// set again behind it; --ignore-program-changes keeps them from the plug-in.
TEST_F(RenderTool, SettingsHoldThroughTheSongsProgramChanges) {
  TrackBytes track;
  track.Event(0, {0xC0, 5}).Event(0, {0x90, 69, 100}).Event(480, {0x80, 69, 0}).End();
  WriteBytes(folder.Path("change.mid"), SmfBytes(0, 480, {track}));
  const auto render = [&](const char* plugin, std::vector<std::string> extra) {
    std::vector<std::string> arguments = {folder.Path("change.mid"),
                                          "--plugin",
                                          plugin,
                                          "--tail",
                                          "0.1",
                                          "-o",
                                          folder.Path("out.wav"),
                                          "--midi-out",
                                          folder.Path("out.mid")};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    EXPECT_EQ(RunTool(arguments).exitCode, 0);
    return Peak(ReadAudio(folder.Path("out.wav")).left);
  };
  EXPECT_GT(render(TARSYN7_PLUGIN_PATH, {}), 0.01);
  EXPECT_EQ(render(TARSYN7_PLUGIN_PATH, {"--set", "Volume=-oo"}), 0.0);

  const auto programChanges = [&] {
    const MidiFile sent = ReadMidiFile(folder.Path("out.mid"));
    return std::count_if(sent.events.begin(), sent.events.end(),
                         [](const MidiEvent& event) { return event.IsProgramChange(); });
  };
  render(ECHO_PLUGIN_PATH, {});
  EXPECT_EQ(programChanges(), 1);
  render(ECHO_PLUGIN_PATH, {"--ignore-program-changes"});
  EXPECT_EQ(programChanges(), 0);
}

TEST_F(RenderTool, RefusesWhatIsNotAPlugin) {
  WriteBytes(folder.Path("fake.so"), {'n', 'o', 't', ' ', 'E', 'L', 'F'});
  Dl_info library{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&sf_open), &library), 0);  // a library, no plug-in
  const std::vector<std::pair<std::string, std::string>> cases = {
      {folder.Path("fake.so"), "not a loadable plug-in"},
      {library.dli_fname, "not a VST 2 plug-in"},
      {folder.Path("absent.so"), "no such plug-in file"}};
  for (const auto& [plugin, reason] : cases) {
    const ToolResult result = RunTool({"--plugin", plugin, "-o", folder.Path("out.wav")});
    EXPECT_EQ(result.exitCode, 1) << plugin;
    EXPECT_TRUE(Contains(result.output, reason)) << result.output;
  }
}

TEST_F(RenderTool, ListsProgramsAndParametersWithTheSettingsApplied) {
  const ToolResult programs = RunTool({"--plugin", TARSYN7_PLUGIN_PATH, "--list-programs"});
  EXPECT_EQ(programs.exitCode, 0);
  EXPECT_EQ(std::count(programs.output.begin(), programs.output.end(), '\n'), 64);
  EXPECT_TRUE(Contains(programs.output, "*  0  ")) << programs.output;

  const ToolResult parameters =
      RunTool({"--plugin", TARSYN7_PLUGIN_PATH, "--set", "VCF Cutoff=40", "--set", "god mode=On",
               "--set", "Volume=-6.0", "--set", "Tune=-25", "--list-params"});
  EXPECT_EQ(parameters.exitCode, 0) << parameters.output;
  EXPECT_EQ(std::count(parameters.output.begin(), parameters.output.end(), '\n'), 80);
  EXPECT_TRUE(EndsWith(LineWith(parameters.output, " 23  VCF Cutoff "), " 0.4040  40"));
  EXPECT_TRUE(EndsWith(LineWith(parameters.output, " 56  God Mode "), " 1.0000  On"));
  EXPECT_TRUE(EndsWith(LineWith(parameters.output, "  0  Volume "), "  -6.0"));
  EXPECT_TRUE(EndsWith(LineWith(parameters.output, "  1  Tune "), " 0.2500  -25"));
}

// What --list-params prints, given back through --set, shows the same for all 80.
TEST_F(RenderTool, ListedParametersSetBackExactly) {
  const auto listed = [](const ToolResult& result) {
    std::vector<std::pair<std::string, std::string>> lines;  // name and display
    std::istringstream text(result.output);
    for (std::string line; std::getline(text, line);) {
      const std::string name = line.substr(5, 24);
      lines.emplace_back(name.substr(0, name.find_last_not_of(' ') + 1), line.substr(40));
    }
    return lines;
  };
  std::vector<float> values;
  for (int i = 0; i < 80; ++i) values.push_back(static_cast<float>(std::fmod(0.37 * (i + 1), 1.0)));
  WriteBytes(folder.Path("distinct.fxp"), ParameterProgram("tsy7", values));
  const auto source = listed(RunTool(
      {"--plugin", TARSYN7_PLUGIN_PATH, "--fxp", folder.Path("distinct.fxp"), "--list-params"}));
  ASSERT_EQ(source.size(), 80u);
  ASSERT_NE(source, listed(RunTool({"--plugin", TARSYN7_PLUGIN_PATH, "--list-params"})));
  std::vector<std::string> arguments = {"--plugin", TARSYN7_PLUGIN_PATH};
  for (size_t i = 0; i < source.size(); ++i) {
    const bool shared = source[i].first == "reserved";
    arguments.push_back("--set");
    arguments.push_back((shared ? std::to_string(i) : source[i].first) + "=" + source[i].second);
  }
  arguments.push_back("--list-params");
  const ToolResult result = RunTool(arguments);
  ASSERT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(listed(result), source);
}

TEST_F(RenderTool, RefusesSettingsThePluginCannotTakeNamingTheRange) {
  for (const std::string setting :
       {"Nonsense=1", "God Mode=Maybe", "VCF Cutoff=wide", "Tune", "Volume=0.5", "Tune=-60"}) {
    const ToolResult result = RenderNote({"--set", setting});
    EXPECT_EQ(result.exitCode, 2) << setting;
    EXPECT_TRUE(Contains(result.output, "tarsyn7-render: ")) << result.output;
  }
  EXPECT_TRUE(Contains(RenderNote({"--set", "Tune=-60"}).output,
                       "\"Tune\" shows no value as \"-60\"; it takes values from -50 to 50"));
}

// Eight keys at full velocity overdrive the default sound far beyond full scale.
TEST_F(RenderTool, ClippingIsCountedAndNamedAndCanBeAvoided) {
  TrackBytes track;
  for (uint8_t key : {36, 43, 48, 52, 55, 60, 64, 67}) track.Event(0, {0x90, key, 127});
  track.Event(960, {0x80, 36, 0}).End();
  WriteBytes(folder.Path("chord.mid"), SmfBytes(0, 480, {track}));
  const auto render = [&](std::vector<std::string> extra) {
    // The default state ("INIT", the last Corvane factory program) plays all eight keys.
    std::vector<std::string> arguments = {folder.Path("chord.mid"),
                                          "--plugin",
                                          TARSYN7_PLUGIN_PATH,
                                          "--bank",
                                          TARSYN7_OWN_FACTORY_BANK,
                                          "--program",
                                          "63",
                                          "--tail",
                                          "0.1",
                                          "-o",
                                          folder.Path("out.wav")};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const ToolResult result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return std::make_pair(result.output, Peak(ReadAudio(folder.Path("out.wav")).left));
  };
  const auto [warned, clipped] = render({});
  EXPECT_TRUE(Contains(warned, " were clipped; the render peaks at +1")) << warned;
  EXPECT_TRUE(Contains(warned, "--gain -1")) << warned;
  EXPECT_GE(clipped, 0.9999);

  const auto [unclipped, floatPeak] = render({"--bits", "32"});
  EXPECT_TRUE(Contains(unclipped, "keeps it unclipped")) << unclipped;
  EXPECT_GT(floatPeak, 2.0);
  EXPECT_NEAR(render({"--bits", "32", "--gain", "-6"}).second, floatPeak * 0.50119, 1e-4);

  for (const auto& [arguments, peak] : std::vector<std::pair<std::vector<std::string>, double>>{
           {{"--normalize"}, 0.89125}, {{"--normalize=-6"}, 0.50119}}) {
    const auto [quiet, normalized] = render(arguments);
    EXPECT_FALSE(Contains(quiet, "clipped")) << quiet;
    EXPECT_NEAR(normalized, peak, 1e-4) << arguments[0];
  }
  EXPECT_FALSE(std::filesystem::exists(folder.Path("out.wav.part")));
}

TEST_F(RenderTool, WritesTheRequestedFormats) {
  ASSERT_EQ(RenderNote({"--bits", "16"}).exitCode, 0);
  Audio audio = ReadAudio(folder.Path("out.wav"));
  EXPECT_EQ(audio.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(audio.rate, 48000);
  EXPECT_EQ(audio.channels, 2);

  ASSERT_EQ(RenderNote({"--sample-rate", "44100"}, "out.flac").exitCode, 0);
  audio = ReadAudio(folder.Path("out.flac"));
  EXPECT_EQ(audio.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  EXPECT_EQ(audio.rate, 44100);
  EXPECT_GT(Peak(audio.left), 0.01);

  const ToolResult refused = RenderNote({"--bits", "32"}, "float.flac");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(Contains(refused.output, "FLAC holds 16- or 24-bit samples"));
}

TEST_F(RenderTool, DoublePrecisionRendersWhatSinglePrecisionDoes) {
  ASSERT_EQ(RenderNote({"--bits", "32"}, "float.wav").exitCode, 0);
  ASSERT_EQ(RenderNote({"--bits", "32", "--double"}, "double.wav").exitCode, 0);
  const Audio single = ReadAudio(folder.Path("float.wav"));
  const Audio twice = ReadAudio(folder.Path("double.wav"));
  ASSERT_EQ(single.left.size(), twice.left.size());
  double largest = 0.0;
  for (size_t i = 0; i < single.left.size(); ++i) {
    largest = std::max(largest, std::fabs(single.left[i] - twice.left[i]));
  }
  EXPECT_LT(largest, 1e-6);
  EXPECT_GT(Peak(twice.left), 0.01);
}

TEST_F(RenderTool, ProgramFilesSetTheSoundAndMustBeForThePlugin) {
  WriteBytes(folder.Path("quiet.fxp"), ParameterProgram("tsy7", {0.0f}));  // Volume 0
  ASSERT_EQ(RenderNote({"--fxp", folder.Path("quiet.fxp")}).exitCode, 0);
  EXPECT_EQ(Peak(ReadAudio(folder.Path("out.wav")).left), 0.0);

  WriteBytes(folder.Path("other.fxp"), ParameterProgram("abcd", {0.0f}));
  const ToolResult refused = RenderNote({"--fxp", folder.Path("other.fxp")});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(Contains(refused.output, "made for the plug-in \"abcd\", not \"tsy7\""));
}

// The tool finds the plug-in built next to it, and the demo neither clips nor is silent.
TEST_F(RenderTool, RendersTheDemoWithStats) {
  const ToolResult result =
      RunTool({"--sample-rate", "16000", "--stats", "-o", folder.Path("demo.wav")});
  ASSERT_EQ(result.exitCode, 0) << result.output;
  EXPECT_TRUE(Contains(result.output, "x real time")) << result.output;
  EXPECT_TRUE(Contains(result.output, "left ") && Contains(result.output, "right"));
  const Audio audio = ReadAudio(folder.Path("demo.wav"));
  EXPECT_GT(audio.left.size(), 16000u * 15);
  EXPECT_GT(Peak(audio.left), 0.1);
  EXPECT_LT(Peak(audio.left), 1.0);
  EXPECT_LT(Peak(audio.right), 1.0);
}

// The host side is generic: another maker's instrument plays the demo too.
TEST_F(RenderTool, AnotherInstrumentPlaysTheDemo) {
  if (!std::filesystem::exists(kAmsynth)) {
    GTEST_SKIP() << kAmsynth << " is not installed (Debian package amsynth)";
  }
  // Its own allocations outlive it, which is not ours to report in sanitized builds.
  const ToolResult result = RunTool({"--plugin", kAmsynth, "--sample-rate", "16000", "--tail",
                                     "0.5", "-o", folder.Path("amsynth.wav")},
                                    "ASAN_OPTIONS=detect_leaks=0");
  ASSERT_EQ(result.exitCode, 0) << result.output;
  const Audio audio = ReadAudio(folder.Path("amsynth.wav"));
  EXPECT_GT(Peak(audio.left), 0.01);
  EXPECT_GT(Peak(audio.right), 0.01);
}

// The panel's picture comes from the plug-in's own editor, for the chosen sound; an
// instrument without the command gets a clear refusal.
TEST_F(RenderTool, ThePluginDrawsItsPanelForTheChosenSound) {
  const std::string first = folder.Path("first.png");
  const std::string chosen = folder.Path("chosen.png");
  ASSERT_EQ(RunTool({"--plugin", TARSYN7_PLUGIN_PATH, "--screenshot", first}).exitCode, 0);
  const ToolResult run = RunTool({"--plugin", TARSYN7_PLUGIN_PATH, "--program", "20", "--set",
                                  "God Mode=Off", "--screenshot", chosen});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  auto read = [](const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    return DecodePng(bytes.data(), bytes.size());
  };
  const std::optional<Bitmap> before = read(first);
  const std::optional<Bitmap> after = read(chosen);
  ASSERT_TRUE(before && after);
  EXPECT_EQ(after->Width(), 1054);
  EXPECT_EQ(after->Height(), 600);
  // The program number (bank 3, number 5) and the God Mode switch changed; the
  // programmer's keys did not.
  auto differs = [&](const Rect& area) {
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (before->At(x, y) != after->At(x, y)) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(differs({535, 40, 594, 74}));
  EXPECT_TRUE(differs({946, 54, 964, 94}));
  EXPECT_FALSE(differs({530, 130, 692, 210}));

  const ToolResult refused =
      RunTool({"--plugin", ECHO_PLUGIN_PATH, "--screenshot", folder.Path("echo.png")});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(Contains(refused.output, "could not write its panel")) << refused.output;
}
