// The options screen: what it shows for a player, the volumes applied to the sound manager at
// once and stored in thousandths, and the messages it takes.
#include <gtest/gtest.h>

#include "tests/game/frontend/MenuScreenFixture.h"
#include "tvlib/ui/TMessage.h"

namespace {

class OptionsTest : public MenuScreenTest {
 protected:
  TOptions* OpenOptions() {
    Open("scripts/options.lua");
    return Find<TOptions>("options");
  }
  TSlider* Effects() { return Find<TSlider>("sfxlevelslider"); }
  TSlider* Music() { return Find<TSlider>("musiclevelslider"); }
};

TEST_F(OptionsTest, ANewPlayersOptionsShowTheDefaultsAndApplyThem) {
  Settings().CreateNewUser("Ada");
  ASSERT_NE(OpenOptions(), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  ASSERT_NE(Effects(), nullptr);
  ASSERT_NE(Music(), nullptr);
  EXPECT_FLOAT_EQ(Effects()->GetValue(), 0.75f);
  EXPECT_FLOAT_EQ(Music()->GetValue(), 0.64f);
  EXPECT_FLOAT_EQ(Sound().GetGroupVolume(1000), 0.75f);
  EXPECT_FLOAT_EQ(Sound().GetGroupVolume(0), 0.75f);
  EXPECT_FLOAT_EQ(Sound().GetGroupVolume(1001), 0.64f);
  EXPECT_FALSE(Button("mutebox")->IsChecked());
  EXPECT_EQ(Button("fullscreen")->IsChecked(), Settings().IsFullScreen());
}

TEST_F(OptionsTest, TheBoxesFollowTheSettings) {
  Settings().CreateNewUser("Ada");
  Prefs().SetInt("soundoff", 1, 0, true);
  Prefs().SetInt("soundlevel", 300, 0, true);
  Prefs().SetInt("musiclevel", 0, 0, true);
  ASSERT_NE(OpenOptions(), nullptr);
  EXPECT_TRUE(Button("mutebox")->IsChecked());
  EXPECT_FLOAT_EQ(Effects()->GetValue(), 0.3f);
  EXPECT_FLOAT_EQ(Sound().GetGroupVolume(1001), 0.0f);
}

TEST_F(OptionsTest, MovesApplyAtOnceAndSaveVolumesStoresThousandths) {
  Settings().CreateNewUser("Ada");
  ASSERT_NE(OpenOptions(), nullptr);
  Effects()->SetValue(0.4999f);
  Music()->SetValue(0.2f);
  EXPECT_FLOAT_EQ(Sound().GetGroupVolume(1000), 0.4999f);
  EXPECT_FLOAT_EQ(Sound().GetGroupVolume(0), 0.4999f);
  EXPECT_FLOAT_EQ(Sound().GetGroupVolume(1001), 0.2f);
  // Nothing is stored before SaveVolumes.
  EXPECT_EQ(Prefs().GetInt("soundlevel", -1, 0), 750);
  Lua("SaveVolumes()");
  EXPECT_EQ(Prefs().GetInt("soundlevel", -1, 0), 499);
  EXPECT_EQ(Prefs().GetInt("musiclevel", -1, 0), 200);
}

// A level read back and saved unchanged stays as it was, for every level.
TEST_F(OptionsTest, StoredLevelsSurviveASaveUnchanged) {
  Settings().CreateNewUser("Ada");
  ASSERT_NE(OpenOptions(), nullptr);
  for (int level = 0; level <= 1000; ++level) {
    Effects()->SetValue(static_cast<float>(level) / 1000.0f);
    Lua("SaveVolumes()");
    ASSERT_EQ(Prefs().GetInt("soundlevel", -1, 0), level);
  }
}

TEST_F(OptionsTest, OnlyTheSlidersNoticesAreTaken) {
  Settings().CreateNewUser("Ada");
  TOptions* options = OpenOptions();
  ASSERT_NE(options, nullptr);
  struct Case {
    int type;
    const char* name;
    bool taken;
  };
  const Case cases[] = {
      {1000, "sfxlevelslider", true}, {1000, "musiclevelslider", true},
      {1000, "otherslider", false},   {1000, "mutebox", false},
      {3, "sfxlevelslider", false},   {7, "musiclevelslider", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMessage message(c.type, c.name);
    EXPECT_EQ(options->OnMessage(&message), c.taken);
  }
}

TEST_F(OptionsTest, TheMuteBoxTogglesTheSoundThroughItsScript) {
  Settings().CreateNewUser("Ada");
  ASSERT_NE(OpenOptions(), nullptr);
  WaitForCommands();
  Click(Button("mutebox"));
  EXPECT_TRUE(Button("mutebox")->IsChecked());
  EXPECT_EQ(Prefs().GetInt("soundoff", 0, 0), 1);
  Click(Button("optionsok"));
  Tick(16);
  EXPECT_EQ(Find<TOptions>("options"), nullptr);  // closed
  EXPECT_EQ(Prefs().GetInt("soundlevel", -1, 0), 750);
}

// The screen's global is the screen's only while it lives.
TEST_F(OptionsTest, SaveVolumesGoesBackToWhatItWasWhenTheScreenGoes) {
  Lua("function SaveVolumes() gSaved = 'earlier' end");
  Settings().CreateNewUser("Ada");
  ASSERT_NE(OpenOptions(), nullptr);
  Effects()->SetValue(0.3f);
  Lua("SaveVolumes()");
  EXPECT_EQ(Prefs().GetInt("soundlevel", -1, 0), 300);
  Manager().PopModal();
  Manager().DeletePending();
  Lua("SaveVolumes()");
  EXPECT_EQ(Script().GetGlobalString("gSaved"), TString("earlier"));
}

}  // namespace
