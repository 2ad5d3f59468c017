#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(IniFile, ReadsByThePrivateProfileRules) {
  const IniFile file = IniFile::Parse(
      "\xEF\xBB\xBF"
      "orphan=1\r\n"
      "; comment=no\r\n"
      "[ MIDI Global ]\r\n"
      "  midi THRU  =  true  \r\n"
      "MIDI Thru=false\r\n"
      "Quoted=\"  a path \"\n"
      "Single='x'\n"
      "Unbalanced=\"x\n"
      "Empty=\n"
      "Returns=7000\r\r\r\n"
      "[midi global]\n"
      "Later=ignored\n"
      "[Other]\n"
      "Later=here");
  EXPECT_EQ(file.Get("midi global", "MIDI Thru"), "true");  // case, blanks, first wins
  EXPECT_EQ(file.Get("MIDI Global", "Quoted"), "  a path ");
  EXPECT_EQ(file.Get("MIDI Global", "Single"), "x");
  EXPECT_EQ(file.Get("MIDI Global", "Unbalanced"), "\"x");
  EXPECT_EQ(file.Get("MIDI Global", "Empty"), "");
  EXPECT_EQ(file.Get("MIDI Global", "Returns"), "7000");
  EXPECT_EQ(file.Get("MIDI Global", "Later"), std::nullopt);  // second section never read
  EXPECT_EQ(file.Get("Other", "Later"), "here");
  EXPECT_EQ(file.Get("", "orphan"), std::nullopt);
  EXPECT_EQ(file.Get("MIDI Global", "; comment"), std::nullopt);
  EXPECT_EQ(file.Get("Missing", "Key"), std::nullopt);
}

TEST(IniFile, WritesWhatReadsBackAndKeepsTheRest) {
  IniFile file = IniFile::Parse("; mine\n[Editor]\nshow parameters=false\nKeep=1\n[A]\nx=1\n");
  ASSERT_TRUE(file.Set("EDITOR", "Show Parameters", "true"));
  ASSERT_TRUE(file.Set("New", "Path", " C:\\with blanks \\"));
  ASSERT_TRUE(file.Set("New", "Quoted", "\"q\""));
  EXPECT_FALSE(file.Set("New", "Bad", "line\r\nbreak"));
  EXPECT_FALSE(file.Set("New", "a=b", "x"));
  EXPECT_FALSE(file.Set("Bad]", "x", "y"));
  ASSERT_TRUE(file.ReplaceSection("a", {{"y", "2"}}));
  EXPECT_FALSE(file.ReplaceSection("A", {{"z", "3"}, {"w", "\n"}}));  // all or nothing

  const IniFile again = IniFile::Parse(file.Text());
  EXPECT_EQ(again.Get("Editor", "Show Parameters"), "true");
  EXPECT_EQ(again.Get("Editor", "Keep"), "1");
  EXPECT_EQ(again.Get("New", "Path"), " C:\\with blanks \\");
  EXPECT_EQ(again.Get("New", "Quoted"), "\"q\"");
  EXPECT_EQ(again.Get("New", "Bad"), std::nullopt);
  EXPECT_EQ(again.Get("A", "x"), std::nullopt);
  EXPECT_EQ(again.Get("A", "y"), "2");
  EXPECT_EQ(file.Text().rfind("; mine\n", 0), 0u);

  // A header without a name stays, so its entries do not join the section before it.
  const std::string nameless = "[A]\nx=1\n[]\nx=2\n";
  EXPECT_EQ(IniFile::Parse(nameless).Text(), nameless);
}

TEST(IniFile, SavesWholeOrNotAtAll) {
  const fs::path folder = fs::path(testing::TempDir()) / "ini-save";
  fs::create_directories(folder);
  const std::string path = (folder / "settings.ini").string();
  IniFile file = IniFile::Parse("[S]\nk=v\n");
  ASSERT_TRUE(file.Save(path));
  ASSERT_TRUE(file.Set("S", "k", "w"));
  ASSERT_TRUE(file.Save(path));  // replaces the existing file
  EXPECT_EQ(IniFile::Load(path)->Get("S", "k"), "w");
  EXPECT_FALSE(fs::exists(path + ".new"));
  EXPECT_FALSE(file.Save((folder / "missing" / "settings.ini").string()));
  fs::remove_all(folder);
}
