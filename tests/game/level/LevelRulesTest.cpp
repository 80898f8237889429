// The level's rules that need no running level: the waiting line's spots and ranks, the
// depth order, asset names as scripts write them, and the checks on guest entries.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/level/LevelAssets.h"
#include "game/level/RoomRules.h"
#include "game/level/WaitingLine.h"
#include "game/room/TFestraGuest.h"
#include "tests/game/level/LevelFixture.h"

namespace {

TEST(WaitingLineTest, SpotsOfTheRanks) {
  struct TCase {
    int rank, place, x, y;
  };
  const TCase cases[] = {
      {13, 3, 152, 402}, {13, 0, 32, 402},  {12, 3, 172, 324}, {12, 0, 52, 324},
      {11, 2, 112, 246}, {10, 1, 72, -500}, {0, 0, 32, -500},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "rank " << c.rank << " place " << c.place);
    const TPoint p = TWaitingLine::SpotPoint(c.rank, c.place);
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
  }
}

// Guests stand for themselves by address only: the line never looks into them.
std::vector<TFestraGuest*> Guests(int n) {
  static std::vector<char> storage(64);
  std::vector<TFestraGuest*> guests;
  for (int i = 0; i < n; ++i) guests.push_back(reinterpret_cast<TFestraGuest*>(&storage[i]));
  return guests;
}

TEST(WaitingLineTest, FillsFromTheFrontAndMovesUpWhenARankEmpties) {
  TWaitingLine line;
  const std::vector<TFestraGuest*> g = Guests(9);
  struct TSpotCase {
    int rank, place;
  };
  const TSpotCase spots[] = {{13, 3}, {13, 2}, {13, 1}, {13, 0}, {12, 3},
                             {12, 2}, {12, 1}, {12, 0}, {11, 3}};
  for (int i = 0; i < 9; ++i) {
    const TWaitingLine::TSpot spot = line.Add(g[i]);
    EXPECT_EQ(spot.rank, spots[i].rank) << i;
    EXPECT_EQ(spot.place, spots[i].place) << i;
  }
  EXPECT_EQ(line.FirstOccupiedRank(), 11);
  // Rank 13 keeps three guests: nothing moves.
  EXPECT_TRUE(line.Remove(g[0]).empty());
  for (int i = 1; i < 4; ++i) line.Remove(g[i]);
  // Rank 13 emptied: rank 12 moved into it, rank 11 into 12.
  EXPECT_EQ(line.Find(g[4]).rank, 13);
  EXPECT_EQ(line.Find(g[4]).place, 3);
  EXPECT_EQ(line.Find(g[8]).rank, 12);
  EXPECT_EQ(line.FirstOccupiedRank(), 12);
  // A new guest goes before the first taken place.
  const TWaitingLine::TSpot next = line.Add(g[0]);
  EXPECT_EQ(next.rank, 12);
  EXPECT_EQ(next.place, 2);
}

TEST(WaitingLineTest, AFullLineTakesNoMoreGuests) {
  TWaitingLine line;
  const std::vector<TFestraGuest*> g = Guests(57);
  for (int i = 0; i < 56; ++i) EXPECT_GE(line.Add(g[i]).rank, 0);
  EXPECT_EQ(line.Add(g[56]).rank, -1);
  EXPECT_FALSE(line.Contains(g[56]));
  EXPECT_EQ(line.At(0, 0), g[55]);
}

TEST(DepthOrderTest, BottomsThenTheTieBandAcross) {
  struct TCase {
    TDepthKey a, b;
    bool aFirst;
  };
  const TCase cases[] = {
      {{100, 500, false}, {110, 100, false}, true},  // higher bottom first
      {{110, 100, false}, {100, 500, false}, false},
      {{100, 500, false}, {104, 100, false}, false},  // 4 px: a tie, the left one first
      {{104, 100, false}, {100, 500, false}, true},
      {{100, 500, false}, {105, 100, false}, true},  // 5 px: by the bottoms
      {{130, 100, true}, {110, 500, false}, true},   // a seated guest counts 25 px higher
      {{130, 500, true}, {105, 100, false}, false},  // 105 against 105: across
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(DrawsBefore(cases[i].a, cases[i].b), cases[i].aFirst) << "case " << i;
  }
}

TEST(SeatingRulesTest, TargetsAndItems) {
  EXPECT_EQ(CheckSeatingTarget(-1, 4), 1);
  EXPECT_EQ(CheckSeatingTarget(4, 4), 1);
  EXPECT_EQ(CheckSeatingTarget(TargetBesideType(4, true), 4), -1);
  EXPECT_EQ(CheckSeatingTarget(TargetBesideType(4, true), 5), 1);
  EXPECT_EQ(CheckSeatingTarget(3, 4), 0);
  EXPECT_EQ(CheckSeatingTarget(TargetTableColour(1, false), 4), 0);
  const int matches[][2] = {{2, 1}, {3, 2}, {4, 3}, {6, 7}};
  for (const auto& m : matches) EXPECT_TRUE(ItemMatchesDesire(m[0], m[1]));
  EXPECT_FALSE(ItemMatchesDesire(1, 4));
  EXPECT_FALSE(ItemMatchesDesire(5, 6));
}

TEST(GuestEntryTest, MatchTypesOutsideTheRowsAndTablesAreNoPreference) {
  struct TCase {
    int matchType, value, row, table;
    bool avoid;
  };
  // Ten rows of guest types, two tables.
  const TCase cases[] = {
      {-1, -1, -1, -1, false},  {4, 4, 4, -1, false},     {9, 9, 9, -1, false},
      {24, 24, 4, -1, true},    {10, -1, -1, -1, false},  {19, -1, -1, -1, false},
      {30, -1, -1, -1, false},  {99, -1, -1, -1, false},  {100, 100, -1, 0, false},
      {101, 101, -1, 1, false}, {102, -1, -1, -1, false}, {150, 150, -1, 0, true},
      {152, -1, -1, -1, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.matchType);
    const TMatchPreference p = DecodeMatchType(c.matchType, 10, 2);
    EXPECT_EQ(p.value, c.value);
    EXPECT_EQ(p.row, c.row);
    EXPECT_EQ(p.table, c.table);
    EXPECT_EQ(p.avoid, c.avoid);
  }
}

TEST(GuestEntryTest, PatienceIsAtLeastThree) {
  EXPECT_EQ(GuestPatience(0, 0), kMinPatience);
  EXPECT_EQ(GuestPatience(1, 1), kMinPatience);
  EXPECT_EQ(GuestPatience(60000, 4000), 64000);
}

class AssetNameTest : public LevelTest {};

TEST_F(AssetNameTest, NamesAsScriptsWriteThem) {
  PutAsset("images/Loose/Own Picture.png", "not read");
  struct TCase {
    const char* name;
    TAssetKind kind;
    const char* resolved;
  };
  const TCase cases[] = {
      {"assets/images/table/dishbin", TAssetKind::kPicture, "images/table/dishbin.png"},
      {"images/table/dishbin", TAssetKind::kPicture, "images/table/dishbin.png"},
      {"images/table/dishbin.png", TAssetKind::kPicture, "images/table/dishbin.png"},
      {"Assets/Images/Table/DishBin", TAssetKind::kPicture, "images/table/dishbin.png"},
      {"assets\\images\\table\\dishbin", TAssetKind::kPicture, "images/table/dishbin.png"},
      {"images/loading/loading", TAssetKind::kAnimation, "images/loading/loading.xml"},
      {"assets/images/Festra Panning/CAKE6", TAssetKind::kAnimation,
       "images/festra panning/cake6.xml"},
      {"fonts/arial.mvec.mvec", TAssetKind::kFont, "fonts/arial.mvec"},
      {"fonts/arial", TAssetKind::kFont, "fonts/arial.mvec"},
      {"assets/audio/sfx/seat_guest", TAssetKind::kSound, "audio/sfx/seat_guest.ogg"},
      {"audio/sfx/Seat_Guest.ogg.ogg", TAssetKind::kSound, "audio/sfx/seat_guest.ogg"},
      {"fx/fx_kiss", TAssetKind::kScript, "fx/fx_kiss.lua"},
      {"images/loose/own picture", TAssetKind::kPicture, "images/loose/own picture.png"},
      {"images/table/nothing", TAssetKind::kPicture, "images/table/nothing"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ResolveAssetName(c.name, c.kind), c.resolved);
  }
  EXPECT_NE(GetLevelTexture("Assets/Images/Table/DishBin"), nullptr);
  EXPECT_NE(GetLevelAnimation("assets/images/loading/LOADING"), nullptr);
}

}  // namespace
