// The venue map on its real layouts: the dots' looks and the click rule as tables, the
// venues shown, the texts of the selection, starting levels, the deferred restart, the
// endless map's buttons, the cheat keys and the functions it lends the script.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/frontend/TCakeLevelDots.h"
#include "tests/game/frontend/ScreenFixture.h"
#include "tvlib/ui/TImage.h"

namespace {

using TLook = TCakeLevelDots::TLook;

class MetaMapTest : public ScreenTest {
 protected:
  TMetaMap* OpenMap(const char* script = kAlbumScript) {
    OpenDialog(script);
    return Find<TMetaMap>("metamap");
  }
  void SetProgress(int lastMap, int lastLevel) {
    SetPlayerInt("lastMap", lastMap);
    SetPlayerInt("lastLevel", lastLevel);
  }
};

TEST_F(MetaMapTest, DotsLookLockedOpenOrExpertUpToTheCurrentVenue) {
  SetPlayerInt("Expert1.3", 1);
  SetPlayerInt("Expert2.1", 1);
  const struct {
    int venueCount, lastLevel, venue, level;
    TLook look;
  } cases[] = {
      {1, 0, 1, 1, TLook::kOpen},    {1, 0, 1, 2, TLook::kLocked},
      {1, 0, 2, 1, TLook::kHidden},  {1, 3, 1, 3, TLook::kOpenExpert},
      {1, 3, 1, 4, TLook::kOpen},    {1, 3, 1, 5, TLook::kLocked},
      {2, 0, 1, 10, TLook::kOpen},   {2, 0, 2, 1, TLook::kOpenExpert},
      {2, 0, 2, 2, TLook::kLocked},  {1, 10, 1, 10, TLook::kOpen},
      {1, 10, 2, 1, TLook::kHidden}, {5, 10, 5, 10, TLook::kOpen},
      {7, 10, 5, 10, TLook::kOpen},  // a count past the story shows the five venues
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.venueCount << "/" << c.lastLevel << " dot " << c.venue << "." << c.level);
    const TCakeLevelDots dots(c.venueCount, c.lastLevel);
    EXPECT_EQ(dots.GetLook(c.venue, c.level, Player()), c.look);
  }
}

TEST_F(MetaMapTest, SelectionStartsAtTheNextLevelAndClicksSelectOpenDotsWithinTwelvePixels) {
  const struct {
    int venueCount, lastLevel;
    float x, y;        // the click, from the dot of (venue, level) at (20 venue, 20 level)
    int venue, level;  // selected afterwards
  } cases[] = {
      {1, 0, 20, 20, 1, 1},            // the open dot itself
      {1, 0, 20 + 11.9f, 20, 1, 1},    // just inside
      {1, 3, 20 + 12, 20 + 20, 1, 4},  // 12 px off misses: the selection stays
      {1, 3, 20, 60, 1, 3},            // an open dot
      {1, 3, 20, 100, 1, 4},           // locked: never selected
      {1, 10, 20, 200, 1, 10},         // the tenth
      {1, 10, 40, 20, 2, 1},           // the next venue's first (the one after the tenth)
      {2, 4, 40, 100, 2, 5},           // the last venue's next level
      {5, 10, 100, 200, 5, 10},        // nothing past the story's last dot
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.venueCount << "/" << c.lastLevel << " click " << c.x << "," << c.y);
    TCakeLevelDots dots(c.venueCount, c.lastLevel);
    for (int venue = 1; venue <= kVenueCount; ++venue) {
      for (int level = 1; level <= kVenueLevels; ++level) {
        dots.SetDotPosition(venue, level, TVec2(20.0f * venue, 20.0f * level));
      }
    }
    EXPECT_TRUE(dots.TakeSelectionChanged());
    TPoint point{static_cast<int>(c.x), static_cast<int>(c.y)};
    if (c.x != static_cast<float>(point.x)) {
      dots.SelectAt(TVec2(c.x, c.y));
    } else {
      EXPECT_TRUE(dots.OnMouseDown(&point));  // every click is handled
    }
    EXPECT_EQ(dots.GetSelectedVenue(), c.venue);
    EXPECT_EQ(dots.GetSelectedLevel(), c.level);
  }
  // The next level after the story's last is capped at it.
  EXPECT_EQ(TCakeLevelDots(5, 10).GetSelectedVenue(), 5);
  EXPECT_EQ(TCakeLevelDots(5, 10).GetSelectedLevel(), 10);
}

TEST_F(MetaMapTest, VenuesShowUpToTheCurrentOneBelowTheDots) {
  const struct {
    int lastMap, lastLevel;
    int shownUpTo;  // venue images 2..shownUpTo exist
  } cases[] = {{1, 0, 1}, {1, 9, 1}, {1, 10, 2}, {3, 4, 3}, {4, 10, 5}, {5, 10, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lastMap << "." << c.lastLevel);
    SetProgress(c.lastMap, c.lastLevel);
    TMetaMap* map = OpenMap();
    ASSERT_NE(map, nullptr);
    for (int venue = 2; venue <= kVenueCount; ++venue) {
      EXPECT_EQ(map->GetVenueImage(venue) != nullptr, venue <= c.shownUpTo) << venue;
    }
    // Later venues lie below earlier ones, the dots above them all ([0] is the front).
    const auto& children = map->GetChildren();
    auto place = [&children](const TWindow* w) {
      return std::find(children.begin(), children.end(), w) - children.begin();
    };
    for (int venue = 3; venue <= c.shownUpTo; ++venue) {
      EXPECT_LT(place(map->GetVenueImage(venue - 1)), place(map->GetVenueImage(venue)));
    }
    if (c.shownUpTo >= 2) {
      EXPECT_LT(place(map->GetDots()), place(map->GetVenueImage(2)));
    }
    Manager().PopModal();
  }
}

TEST_F(MetaMapTest, LayoutPlacesEveryDotAndShowAllOpensEverything) {
  SetProgress(2, 3);
  TMetaMap* map = OpenMap();
  ASSERT_NE(map, nullptr);
  EXPECT_FALSE(map->IsEndless());
  EXPECT_TRUE(map->IsAlbum());
  EXPECT_EQ(LuaNumber("GetCurrentMap()"), 2);
  // Every marker of the layout, read by key, lands inside the dots' area, each apart.
  for (int venue = 1; venue <= kVenueCount; ++venue) {
    for (int level = 1; level <= kVenueLevels; ++level) {
      const TVec2 dot = map->GetDots()->GetDotPosition(venue, level);
      const double x = LuaNumber(TString::Format("levelMarker%d_%d.x", venue, level).c_str());
      const double y = LuaNumber(TString::Format("levelMarker%d_%d.y", venue, level).c_str());
      EXPECT_FLOAT_EQ(dot.x, x + 10);
      EXPECT_FLOAT_EQ(dot.y, y + 10);
      EXPECT_TRUE(dot.x > 0 && dot.x < TCakeLevelDots::kSize && dot.y > 0 &&
                  dot.y < TCakeLevelDots::kSize)
          << venue << "." << level;
    }
  }
}

TEST_F(MetaMapTest, MarkersReadByKeyAndShowAllOpensEveryVenue) {
  PutAsset("scripts/testmap.lua",
           "config = { gameMode = 'story', album = 'no' } showAll = 'yes' "
           "levelMarker1_1 = { y = 30, x = 40 } levelMarker1_2 = { 5, y = 7 } "
           "MakeDialog{ MetaMap{ name = 'metamap', x = 0, y = 0, w = 800, h = 600 } }");
  TMetaMap* map = OpenMap("assets/scripts/testmap.lua");
  ASSERT_NE(map, nullptr);
  Script().DoLuaString("showAll = nil");
  EXPECT_FALSE(map->IsAlbum());
  EXPECT_EQ(map->GetCurrentMap(), 5);
  EXPECT_EQ(map->GetLastLevel(), 10);
  for (int venue = 2; venue <= kVenueCount; ++venue) EXPECT_NE(map->GetVenueImage(venue), nullptr);
  EXPECT_EQ(map->GetDots()->GetLook(5, 10, Player()), TLook::kOpen);
  const TVec2 first = map->GetDots()->GetDotPosition(1, 1);
  const TVec2 second = map->GetDots()->GetDotPosition(1, 2);
  const TVec2 third = map->GetDots()->GetDotPosition(1, 3);
  EXPECT_EQ(first.x, 50);
  EXPECT_EQ(first.y, 40);
  EXPECT_EQ(second.x, 0);  // no "x": the entry by index is no coordinate
  EXPECT_EQ(second.y, 17);
  EXPECT_EQ(third.x, 0);  // no marker
  EXPECT_EQ(third.y, 0);
}

TEST_F(MetaMapTest, SelectionTextsFollowClicksOnTheDots) {
  SetProgress(1, 3);
  SetPlayerInt("Score1.4", 250);
  SetPlayerInt("Score1.2", 900);
  TMetaMap* map = OpenMap();
  ASSERT_NE(map, nullptr);
  Tick();
  ASSERT_NE(Find<TText>("current_level"), nullptr);
  EXPECT_STREQ(Find<TText>("current_level")->GetText().c_str(), "Venue: 1 Level: 4");
  EXPECT_STREQ(Find<TText>("best_score")->GetText().c_str(), "Best Score: 250");
  const TVec2 dot = map->GetDots()->GetDotPosition(1, 2);
  Click(static_cast<int>(dot.x) + 3, static_cast<int>(dot.y) - 2);
  Tick();
  EXPECT_STREQ(Find<TText>("current_level")->GetText().c_str(), "Venue: 1 Level: 2");
  EXPECT_STREQ(Find<TText>("best_score")->GetText().c_str(), "Best Score: 900");
}

TEST_F(MetaMapTest, PlayStartsTheSelectedLevelAndTheMapShowsAgainAfterIt) {
  PutAsset("scripts/game1.4.lua", "-- a level");
  SetProgress(1, 3);
  TMetaMap* map = OpenMap();
  ASSERT_NE(map, nullptr);
  TModalWindow* holder = Manager().GetTopModal();
  constexpr uint32_t kHolderBit = 0x1000, kMapBit = 0x2000;  // bits no one else uses
  holder->AddFlags(kHolderBit);
  map->AddFlags(kMapBit);
  Script().DoLuaString("PlayButton()");
  EXPECT_STREQ(TopName().c_str(), "assets/scripts/game1.4.lua");
  // Only the holder's visible flag went: its other bits stay, none of the map's came.
  EXPECT_EQ(holder->GetFlags() & (kWindowVisible | kHolderBit | kMapBit), kHolderBit);
  Manager().PopModal();
  Tick();
  EXPECT_TRUE(holder->IsVisible());
  // A level the package lacks leaves the map as it is.
  Script().DoLuaString("ToLevel(3, 3)");
  EXPECT_EQ(Manager().GetTopModal(), holder);
  EXPECT_TRUE(holder->IsVisible());
}

TEST_F(MetaMapTest, RestartLevelStartsOnTheNextUpdateOnce) {
  PutAsset("scripts/game2.4.lua", "-- a level");
  ASSERT_NE(OpenMap(), nullptr);
  Script().DoLuaString("RestartLevel(4, 2)");
  EXPECT_STREQ(TopName().c_str(), kAlbumScript);
  Tick();
  EXPECT_STREQ(TopName().c_str(), "assets/scripts/game2.4.lua");
  Manager().PopModal();
  Tick();
  Tick();
  EXPECT_STREQ(TopName().c_str(), kAlbumScript);
}

TEST_F(MetaMapTest, EndlessMapShowsAButtonPerVenueReachedAndStartsItsReception) {
  PutAsset("scripts/arcade2.lua", "-- an endless level");
  SetProgress(3, 2);
  TMetaMap* map = OpenMap(kArcadeMapScript);
  ASSERT_NE(map, nullptr);
  EXPECT_TRUE(map->IsEndless());
  for (int venue = 1; venue <= kVenueCount; ++venue) {
    TButton* button = Find<TButton>(TString::Format("button%d", venue).c_str());
    ASSERT_NE(button, nullptr) << venue;
    EXPECT_EQ(button->IsVisible(), venue <= 3) << venue;
  }
  Script().DoLuaString("ToLevel(2, 1)");
  EXPECT_STREQ(TopName().c_str(), "assets/scripts/arcade2.lua");
  EXPECT_EQ(Prefs().GetInt("arcadeLevel", 0, -1), 2);
}

TEST_F(MetaMapTest, CheatKeysSetTheProgressAndOpenTheMapAfresh) {
  SetProgress(2, 5);
  TMetaMap* map = OpenMap();
  ASSERT_NE(map, nullptr);
  EXPECT_FALSE(map->OnKeyDown('w', 0));  // not a tester
  SetCheatMode(true);
  const struct {
    int key, lastMap, lastLevel;
  } cases[] = {{'w', 2, 10}, {'R', 2, 0}, {'4', 4, 9}, {'x', 4, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    TModalWindow* before = Manager().GetTopModal();
    Key(c.key, 0);
    EXPECT_EQ(Prefs().GetInt("lastMap", 0, Player()), c.lastMap);
    EXPECT_EQ(Prefs().GetInt("lastLevel", 0, Player()), c.lastLevel);
    if (c.key == 'x') {
      EXPECT_EQ(Manager().GetTopModal(), before);
      continue;
    }
    EXPECT_NE(Manager().GetTopModal(), before);
    EXPECT_EQ(Manager().GetModalStack().size(), 2u);
    Manager().DeletePending();
    map = Find<TMetaMap>("metamap");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetLastLevel(), c.lastLevel);
  }
}

// The map's functions stand in for the menu's while it lives; once it has closed, the
// menu's are back, also after the map opened itself afresh. A function a script kept from the
// closed map does nothing but say so in the log.
TEST_F(MetaMapTest, ClosingTheMapGivesTheMenuItsFunctionsBack) {
  PutAsset("scripts/game1.1.lua", "-- a level");
  PutAsset("scripts/game2.1.lua", "-- a level");
  OpenScreen("scripts/mainmenu.lua");
  const TString menu = TopName();
  SetProgress(2, 0);
  ASSERT_NE(OpenMap(), nullptr);
  Script().DoLuaString("keptPlay = PlayButton");
  SetCheatMode(true);
  Key('r', 0);  // the map again, afresh
  Manager().DeletePending();
  ASSERT_NE(Find<TMetaMap>("metamap"), nullptr);
  EXPECT_EQ(LuaNumber("GetCurrentMap()"), 2);  // the new map's function
  Manager().PopModal();
  Manager().DeletePending();
  EXPECT_STREQ(TopName().c_str(), menu.c_str());
  Script().DoLuaString("keptPlay()");
  EXPECT_TRUE(Logged("Script called `keptPlay', whose object is gone"));
  EXPECT_STREQ(TopName().c_str(), menu.c_str());
  EXPECT_STREQ(LuaString("type(PlayButton)").c_str(), "nil");
  Script().DoLuaString("ToLevel(1, 1)");  // the menu's own
  EXPECT_STREQ(TopName().c_str(), "assets/scripts/game1.1.lua");
}

}  // namespace
