// The settings map, the options table, the settings document and the cheat code.
#include "tvlib/core/TSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/TempDir.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/core/TFileIndex.h"

namespace {

std::map<std::string, std::string> Options(const char* commandLine) {
  TSettings settings;
  settings.ParseOptions(commandLine);
  std::map<std::string, std::string> pairs;
  for (const char* key : {"a", "b", "c", "k", "-wnd", "x"})
    if (settings.GetSetting(key).Length()) pairs[key] = settings.GetSetting(key).c_str();
  return pairs;
}

}  // namespace

TEST(Settings, OptionsTable) {
  using Pairs = std::map<std::string, std::string>;
  struct Case {
    const char* commandLine;
    Pairs expected;
  } cases[] = {
      {"game.exe options=a=1&b=2 -x", {{"a", "1"}, {"b", "2"}}},
      {"options=a=1 -wnd=5f", {{"a", "1"}, {"-wnd", "5f"}}},
      {"options=a=1 b&c=2", {{"a", "1 b"}, {"c", "2"}}},
      {"options= a=1", {}},
      {"options=a=1  b=2", {{"a", "1"}}},
      {"options=k=a=b", {{"k", "a=b"}}},
      {"options=a=1&b=2&a=3", {{"a", "3"}, {"b", "2"}}},
      {"options=a=1&broken", {{"a", "1"}}},
      {"Options=a=1", {}},
      {"options=a=", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Options(c.commandLine), c.expected) << c.commandLine;
}

TEST(Settings, MapReadsWritesAndTests) {
  TSettings settings;
  EXPECT_EQ(settings.GetSetting("absent").Length(), 0);
  settings.GetSettingRef("made") = "12";
  EXPECT_TRUE(settings.IsSettingSet("made"));
  EXPECT_FALSE(settings.IsSettingSet("absent"));
  settings.SetSetting("Case", "0");
  EXPECT_FALSE(settings.IsSettingSet("Case"));
  EXPECT_EQ(settings.GetSetting("case").Length(), 0);
}

TEST(Settings, SettingsDocumentComesBeforeOptions) {
  TTempDir dir;
  std::filesystem::create_directories(dir / "assets");
  WriteWholeFile(dir / "assets/settings.xml",
                 "<settings><game>festravask</game><metrics>1</metrics>"
                 "<game>later</game></settings>");
  SetProgramFolder(dir.Path().c_str());
  SetDataFolders(dir.Path().c_str(), dir.Path().c_str());
  ClearFileIndex();
  MountFileSystem();
  TSettings settings;
  settings.LoadSettingsDocument("settings.xml");
  EXPECT_STREQ(settings.GetSetting("game").c_str(), "later");
  settings.ParseOptions("prog options=metrics=0");
  EXPECT_STREQ(settings.GetSetting("metrics").c_str(), "0");
}

TEST(Settings, CheatModeNeedsTheCodeForThisKeyAndMachine) {
  const char* key = "c2VjcmV0a2V5";
  TString code = TCipher(key).EncryptText("QBSDQDWHQFFJWKDK");
  TSettings settings;
  settings.SetSetting("computerid", "QBSDQDWHQFFJWKDK");
  settings.SetSetting("encryptionkey", key);  // no cheat code yet
  EXPECT_STREQ(settings.GetSetting("cheatmode").c_str(), "0");

  settings.SetCheatCode(TString("game.exe --cheat ") + code);
  settings.SetSetting("encryptionkey", key);
  EXPECT_TRUE(settings.IsSettingSet("cheatmode"));
  settings.SetSetting("encryptionkey", "b3RoZXJrZXk=");
  EXPECT_FALSE(settings.IsSettingSet("cheatmode"));
  settings.SetSetting("encryptionkey", "");
  EXPECT_FALSE(settings.IsSettingSet("cheatmode"));

  TSettings bare;
  bare.SetCheatCode("game.exe --cheat");
  EXPECT_EQ(bare.GetSetting("cheatcode").Length(), 0);
  bare.SetSetting("encryptionkey", key);  // empty code and empty identifier: still no cheats
  EXPECT_STREQ(bare.GetSetting("cheatmode").c_str(), "0");
}
