// The menu music with the game's own two tracks on the null sound output: one track plays at
// a time, a switch does not restart the track that plays, and stopping clears both.
#include "game/shell/MenuMusic.h"

#include <gtest/gtest.h>

#include "game/shell/ShellScriptFunctions.h"
#include "tests/game/shell/ShellFixture.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"

namespace {

class MenuMusicTest : public ShellTest {
 protected:
  MenuMusicTest() {
    SetProgramFolder(TV_SOURCE_DIR);
    ClearFileIndex();
    MountFileSystem();
    mSound->Init();
    LoadMenuMusic();
    menu = TSound::Get(kMenuMusicFile, false, TSoundManager::kGroupMusic);
    comic = TSound::Get(kComicMusicFile, false, TSoundManager::kGroupMusic);
  }
  ~MenuMusicTest() override {
    StopMenuMusic();
    ReleaseMenuMusic();
  }
  // How many instances of the menu track and of the comic track play.
  std::pair<size_t, size_t> Playing() const {
    return {menu->GetData().mHandles.size(), comic->GetData().mHandles.size()};
  }

  std::shared_ptr<TSound> menu;
  std::shared_ptr<TSound> comic;
};

TEST_F(MenuMusicTest, OneTrackPlaysAtATimeAndStoppingClearsBoth) {
  ASSERT_TRUE(menu && comic);
  using Counts = std::pair<size_t, size_t>;
  SwitchToMenuMusic();
  EXPECT_EQ(Playing(), (Counts{1, 0}));
  SwitchToMenuMusic();
  EXPECT_EQ(Playing(), (Counts{1, 0})) << "the playing track is not started again";
  SwitchToComicMusic();
  EXPECT_EQ(Playing(), (Counts{0, 1}));
  StopMenuMusic();
  EXPECT_EQ(Playing(), (Counts{0, 0}));
  SwitchToComicMusic();
  EXPECT_EQ(Playing(), (Counts{0, 1})) << "after a stop neither counts as playing";
  SwitchToMenuMusic();
  EXPECT_EQ(Playing(), (Counts{1, 0}));
}

TEST_F(MenuMusicTest, PlayComicMusicSwitchesFromTheScript) {
  ASSERT_TRUE(menu && comic);
  SwitchToMenuMusic();
  RegisterShellScriptFunctions(Script().GetState());
  Lua("PlayComicMusic()");
  EXPECT_EQ(Playing(), (std::pair<size_t, size_t>{0, 1}));
}

}  // namespace
