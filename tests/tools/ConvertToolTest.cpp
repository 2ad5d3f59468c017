// tarsyn7-convert as a user runs it, with the built plug-in.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ToolRun.h"

namespace {

ToolResult Convert(std::vector<std::string> arguments) {
  arguments.insert(arguments.end(), {"--plugin", TARSYN7_PLUGIN_PATH});
  return RunTool(arguments, "", TARSYN7_CONVERT_PATH);
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

}  // namespace

TEST(ConvertTool, FactoryBankListsAndConvertsThroughThePlugin) {
  TempFolder folder;
  const std::string bank = folder.Path("poly800.fxb"), again = folder.Path("again.fxb");
  const std::string program = folder.Path("five.fxp");
  ASSERT_EQ(Convert({"--factory", "poly800", "-o", bank}).exitCode, 0);

  const ToolResult listed = Convert({bank, "--list"});
  ASSERT_EQ(listed.exitCode, 0) << listed.output;
  const std::vector<std::string> lines = Lines(listed.output);
  ASSERT_EQ(lines.size(), 64u);
  EXPECT_NE(lines[0].find(" 1  Strings"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("Legacy Mode on"), std::string::npos) << lines[0];

  ASSERT_EQ(Convert({bank, "-o", again}).exitCode, 0);
  EXPECT_EQ(FileText(again), FileText(bank));  // read and written again: the same file

  ASSERT_EQ(Convert({bank, "--program", "5", "-o", program}).exitCode, 0);
  const ToolResult loaded = Convert({program, "--list"});
  ASSERT_EQ(loaded.exitCode, 0) << loaded.output;
  EXPECT_NE(loaded.output.find("Resonant Sweep"), std::string::npos) << loaded.output;
}

TEST(ConvertTool, RefusalsEndWithAMessageAndTheirExitStatus) {
  TempFolder folder;
  const std::string foreign = folder.Path("foreign.fxb"), out = folder.Path("out.fxb");
  ASSERT_EQ(Convert({"--factory", "own", "-o", foreign}).exitCode, 0);
  std::string bytes = FileText(foreign);
  bytes.replace(16, 4, "abcd");
  WriteBytes(foreign, std::vector<uint8_t>(bytes.begin(), bytes.end()));

  const ToolResult refused = Convert({foreign, "-o", out});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.output.find("cannot load file"), std::string::npos) << refused.output;
  EXPECT_FALSE(std::ifstream(out).good());  // nothing written
  EXPECT_EQ(Convert({"--factory", "poly801", "-o", out}).exitCode, 2);
  EXPECT_EQ(Convert({foreign, "-o", folder.Path("out.wav")}).exitCode, 2);
  EXPECT_EQ(Convert({foreign, "--program", "65", "-o", out}).exitCode, 2);
}

TEST(ConvertTool, HardwareDumpsWrittenForEachModelAndRead) {
  TempFolder folder;
  const std::string dump = folder.Path("factory.syx"), two = folder.Path("two.syx");
  const std::string bank = folder.Path("back.fxb");
  ASSERT_EQ(Convert({"--factory", "poly800", "-o", dump, "--model", "ex800"}).exitCode, 0);
  EXPECT_EQ(FileText(dump).size(), 3273u);
  ASSERT_EQ(Convert({dump, "-o", two, "--model", "poly800ii"}).exitCode, 0);
  EXPECT_EQ(FileText(two).size(), 5383u);
  ASSERT_EQ(Convert({two, "-o", bank}).exitCode, 0);
  const ToolResult listed = Convert({bank, "--list"});
  ASSERT_EQ(listed.exitCode, 0) << listed.output;
  EXPECT_NE(Lines(listed.output)[0].find(" 1  Strings"), std::string::npos) << listed.output;

  const std::string bytes = FileText(two);
  WriteBytes(two, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 5000));
  EXPECT_EQ(Convert({two, "-o", folder.Path("cut.fxb")}).exitCode, 1);
  EXPECT_EQ(Convert({bank, "-o", folder.Path("x.syx")}).exitCode, 2);  // no --model
  EXPECT_EQ(Convert({bank, "-o", folder.Path("x.syx"), "--model", "ex801"}).exitCode, 2);
  EXPECT_EQ(Convert({bank, "-o", folder.Path("x.fxb"), "--model", "ex800"}).exitCode, 2);
}
