// The shipped documents read as the engine expects.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDir.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/core/TXmlNode.h"

TEST(Content, StringsAndSettingsReadFromTheAssets) {
  TTempDir user;
  SetProgramFolder(TV_SOURCE_DIR);
  SetDataFolders(user.Path().c_str(), user.Path().c_str());
  ClearFileIndex();
  MountFileSystem();
  TStringTable strings;
  ASSERT_TRUE(strings.Load("strings.xml"));
  EXPECT_STREQ(strings.GetString("windowtitle").c_str(), "FestraVask");

  TXmlNode root;
  root.LoadFile("settings.xml");
  TXmlNode* settings = root.FindChild("settings");
  ASSERT_NE(settings, nullptr);
  for (const char* key : {"game", "hiscorelocal", "hiscoreanon", "metrics"})
    EXPECT_NE(settings->FindChild(key), nullptr) << key;
}
