// The local table's insertion rules: order, ties, the best-only rule and the cap.
#include "tvlib/hiscore/THiscoreTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

THiscoreEntry Entry(const char* name, int score, const char* guid = "") {
  THiscoreEntry entry;
  entry.name = name;
  entry.score = score;
  entry.guid = guid;
  return entry;
}

// "name:score:rank" per entry.
std::vector<std::string> Rows(const THiscoreTable& table) {
  std::vector<std::string> rows;
  for (const THiscoreEntry& e : table.entries)
    rows.push_back(std::string(e.name.c_str()) + ":" + std::to_string(e.score) + ":" +
                   std::to_string(e.rank));
  return rows;
}

}  // namespace

TEST(HiscoreTable, InsertsBelowEqualScoresAndRenumbers) {
  THiscoreTable table;
  EXPECT_TRUE(InsertHiscoreEntry(&table, Entry("a", 100), false));
  EXPECT_TRUE(InsertHiscoreEntry(&table, Entry("b", 50), false));
  EXPECT_TRUE(InsertHiscoreEntry(&table, Entry("c", 100), false));
  EXPECT_TRUE(InsertHiscoreEntry(&table, Entry("d", 200), false));
  EXPECT_EQ(Rows(table), (std::vector<std::string>{"d:200:1", "a:100:2", "c:100:3", "b:50:4"}));
}

TEST(HiscoreTable, BestOnlyKeepsOneEntryPerPlayerWithoutGaps) {
  THiscoreTable table;
  for (auto [name, score] : {std::pair{"a", 500}, {"me", 400}, {"b", 300}, {"c", 200}})
    InsertHiscoreEntry(&table, Entry(name, score, name), false);
  // Not above the player's own: nothing changes.
  EXPECT_FALSE(InsertHiscoreEntry(&table, Entry("me", 400, "new"), true));
  EXPECT_FALSE(InsertHiscoreEntry(&table, Entry("me", 10, "new"), true));
  EXPECT_EQ(Rows(table), (std::vector<std::string>{"a:500:1", "me:400:2", "b:300:3", "c:200:4"}));
  // Better: the old entry goes, the ranks below it close up, the GUID stays the player's.
  EXPECT_TRUE(InsertHiscoreEntry(&table, Entry("me", 600, "new"), true));
  EXPECT_EQ(Rows(table), (std::vector<std::string>{"me:600:1", "a:500:2", "b:300:3", "c:200:4"}));
  EXPECT_EQ(std::string(table.entries[0].guid.c_str()), "me");
  // A player without an entry is simply inserted.
  EXPECT_TRUE(InsertHiscoreEntry(&table, Entry("new", 250), true));
  EXPECT_EQ(Rows(table).back(), "c:200:5");
}

TEST(HiscoreTable, AFullTableDropsItsLastOrTheNewScore) {
  THiscoreTable table;
  for (int i = 0; i < kHiscoreMaxEntries; ++i)
    InsertHiscoreEntry(&table, Entry("p", 10000 - i * 10), false);
  ASSERT_EQ(table.entries.size(), 500u);
  EXPECT_FALSE(InsertHiscoreEntry(&table, Entry("low", 5010), false));  // equals the last
  EXPECT_EQ(table.entries.size(), 500u);
  EXPECT_TRUE(InsertHiscoreEntry(&table, Entry("mid", 9995), false));
  EXPECT_EQ(table.entries.size(), 500u);
  EXPECT_EQ(std::string(table.entries[1].name.c_str()), "mid");
  EXPECT_EQ(table.entries[1].rank, 2);
  EXPECT_EQ(table.entries.back().score, 5020);
  EXPECT_EQ(table.entries.back().rank, 500);
}
