// The menu and the venue map as the headless display shows them, kept as pictures in the
// test's folder (frontend_menu.png, frontend_map.png) to be judged by eye, with pixels
// probed where the layouts put the menu's buttons and the map's dots.
#include <gtest/gtest.h>

#include "game/frontend/TCakeLevelDots.h"
#include "tests/game/frontend/ScreenFixture.h"

namespace {

bool Reddish(uint32_t rgb) {
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r > 0xB0 && r > g + 40 && r > b + 20;
}
bool Golden(uint32_t rgb) {
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r > 0xC0 && r > g && g > b + 40;
}

class ScreenFrameTest : public ScreenTest {};

TEST_F(ScreenFrameTest, MenuAndMapAsShown) {
  OpenScreen("scripts/mainmenu.lua");
  for (int i = 0; i < 40; ++i) Tick();  // a sparkle is out
  presenter->WritePng("frontend_menu.png");
  EXPECT_TRUE(Golden(Shown(130, 292))) << std::hex << Shown(130, 292);  // the story button

  SetPlayerInt("lastMap", 2);
  SetPlayerInt("lastLevel", 4);
  SetPlayerInt("Expert1.2", 1);
  SetPlayerInt("Score2.5", 4200);
  OpenDialog(kAlbumScript);
  TMetaMap* map = Find<TMetaMap>("metamap");
  ASSERT_NE(map, nullptr);
  for (int i = 0; i < 3; ++i) Tick();
  presenter->WritePng("frontend_map.png");
  auto at = [map](int venue, int level) {
    const TVec2 dot = map->GetDots()->GetDotPosition(venue, level);
    return std::pair<int, int>(static_cast<int>(dot.x), static_cast<int>(dot.y));
  };
  const auto open = at(1, 5), expert = at(1, 2), locked = at(2, 6);
  EXPECT_TRUE(Reddish(Shown(open.first, open.second)))
      << std::hex << Shown(open.first, open.second);
  EXPECT_TRUE(Golden(Shown(expert.first + 4, expert.second)))
      << std::hex << Shown(expert.first + 4, expert.second);
  EXPECT_FALSE(Reddish(Shown(locked.first, locked.second)));
  EXPECT_FALSE(Golden(Shown(locked.first, locked.second)));
}

}  // namespace
