// The story's progress rules: the next level, each level's status and the level scripts.
#include <gtest/gtest.h>

#include "game/frontend/LevelProgress.h"

namespace {

TEST(LevelProgressTest, StatusOfEachLevelFollowsTheLastFinishedOne) {
  const struct {
    int lastMap, lastLevel;
    bool expert;
    int venue, level, status;
  } cases[] = {
      // A new player: only the first level is open.
      {1, 0, false, 1, 1, kLevelNext},
      {1, 0, false, 1, 2, kLevelLocked},
      {1, 0, false, 2, 1, kLevelLocked},
      // The tenth level of venue 1 finished: venue 2 starts.
      {1, 10, false, 2, 1, kLevelNext},
      {1, 10, false, 1, 10, kLevelDone},
      {1, 10, true, 1, 10, kLevelExpert},
      {1, 10, false, 2, 2, kLevelLocked},
      // In the middle of venue 3.
      {3, 4, false, 3, 5, kLevelNext},
      {3, 4, true, 3, 4, kLevelExpert},
      {3, 4, false, 2, 10, kLevelDone},
      {3, 4, false, 3, 6, kLevelLocked},
      {3, 4, false, 4, 1, kLevelLocked},
      // Everything finished: the next level lies past the story, all are done.
      {5, 10, false, 5, 10, kLevelDone},
      {5, 10, false, 1, 1, kLevelDone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "last " << c.lastMap << "." << c.lastLevel << " asking "
                                    << c.venue << "." << c.level);
    EXPECT_EQ(LevelStatus(c.venue, c.level, c.lastMap, c.lastLevel, c.expert), c.status);
  }
}

TEST(LevelProgressTest, NextLevelAndScriptNames) {
  EXPECT_EQ(NextLevel(2, 10).venue, 3);
  EXPECT_EQ(NextLevel(2, 10).level, 1);
  EXPECT_EQ(NextLevel(2, 3).level, 4);
  EXPECT_STREQ(LevelScriptName(false, 2, 3).c_str(), "assets/scripts/game2.3.lua");
  EXPECT_STREQ(LevelScriptName(true, 4, 7).c_str(), "assets/scripts/arcade4.lua");
}

}  // namespace
