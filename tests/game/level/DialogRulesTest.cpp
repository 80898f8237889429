// The dialogs' pure rules: the upgrade offer over owned upgrades and prerequisites, the owned
// slots, the story slot and the upgrades a level applies; the planning reveal's clock and
// verdict; and the stored integer rows (planning record, upgrade lists) in a preferences
// store.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "game/level/PlanningRecord.h"
#include "game/level/PlanningReveal.h"
#include "game/level/StoredInts.h"
#include "game/level/UpgradeRules.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TSettings.h"

namespace {

TUpgradeSlots Slots(std::vector<int32_t> values) {
  TUpgradeSlots slots{};
  for (size_t i = 0; i < values.size(); ++i) slots[i] = values[i];
  return slots;
}

TEST(UpgradeRulesTest, TheOfferTakesTheFirstThreeNotOwnedWhosePrerequisiteIsOwned) {
  // A small catalogue: 2 needs 1, 4 needs 3, 6 needs 5, 8 can never be met.
  const std::map<int, int> prereqs{{1, 0}, {2, 1}, {3, 0}, {4, 3}, {5, 0}, {6, 5}, {7, 0}, {8, -1}};
  const auto prereq = [&prereqs](int n) {
    const auto found = prereqs.find(n);
    return found == prereqs.end() ? -1 : found->second;  // a missing entry is never offered
  };
  struct TCase {
    std::vector<int> priority;
    std::vector<int32_t> slots;
    int owning;  // the slots counted as owned
    TUpgradeOffer offer;
  };
  const TCase cases[] = {
      {{1, 2, 3, 4, 5}, {}, 0, {1, 3, 5}},             // prerequisites not owned are skipped
      {{1, 2, 3, 4, 5}, {1}, 1, {2, 3, 5}},            // owning 1 brings 2 in at its place
      {{1, 2, 3, 4, 5}, {1}, 0, {1, 3, 5}},            // a slot not counted owns nothing
      {{1, 2, 3, 4, 5}, {1, 0, 3}, 3, {2, 4, 5}},      // empty slots are skipped
      {{2, 4, 6, 8}, {}, 0, {-1, -1, -1}},             // nothing eligible
      {{8, 7, 7, 9, 33, 0, 1}, {}, 0, {7, -1, -1}},    // never-met, doubled, unknown; ends at 0
      {{1, 3, 5, 7}, {1, 3, 5, 7}, 10, {-1, -1, -1}},  // all owned
      {{6, 1, 2}, {5, 99, -4}, 3, {6, 1, -1}},         // values beyond the catalogue own nothing
      {{}, {}, 0, {-1, -1, -1}},
  };
  for (const TCase& c : cases) {
    const TUpgradeOffer offer =
        OfferUpgrades(c.priority, prereq, OwnedUpgrades(Slots(c.slots), c.owning));
    EXPECT_EQ(offer, c.offer) << "case with " << c.priority.size() << " entries, owning "
                              << c.owning;
  }
}

TEST(UpgradeRulesTest, StoryChoicesGoToTheSlotOfTheLevelWonAndApplyToTheLevelsAfterIt) {
  const std::pair<int, int> slots[] = {{1, 0}, {5, 4}, {10, 9}, {0, -1}, {11, -1}, {-3, -1}};
  for (const auto& [level, slot] : slots) EXPECT_EQ(StoryUpgradeSlot(level), slot) << level;

  const TUpgradeSlots stored = Slots({5, 0, 31, 0, 24, 0, 0, 0, 9, 0});
  const std::pair<int, std::vector<int>> applied[] = {
      {1, {}}, {2, {5}}, {3, {5}}, {4, {5, 31}}, {10, {5, 31, 24, 9}}, {12, {5, 31, 24, 9}},
      {0, {}}};
  for (const auto& [level, upgrades] : applied)
    EXPECT_EQ(StoryUpgradesToApply(stored, level), upgrades) << "level " << level;
  EXPECT_EQ(StoryUpgradeKey(3), TString("levelUpgrade3"));
}

TEST(PlanningRulesTest, TheRevealClockPacesTheRowsTheVerdictAndTheEnd) {
  TRevealClock clock;
  const std::pair<uint32_t, int> calls[] = {
      {1000, 0},
      {1400, kRevealNothing},
      {1401, 1},
      {1500, kRevealNothing},
      {1802, 2},
      {2202, kRevealNothing},
      {2203, kRevealVerdict},
      {5203, kRevealNothing},
      {5204, kRevealFinished},
      {9000, kRevealFinished},
  };
  for (const auto& [now, step] : calls) EXPECT_EQ(clock.Advance(now), step) << "at " << now;

  TRevealClock wrapping;  // the platform clock may wrap between steps
  EXPECT_EQ(wrapping.Advance(0xFFFFFF00u), 0);
  EXPECT_EQ(wrapping.Advance(0x00000100u), 1);
}

TEST(PlanningRulesTest, TheVerdictGoesByThePointsOfThePicks) {
  const std::pair<int, int> verdicts[] = {{0, kVerdictBad},    {100, kVerdictOkay},
                                          {200, kVerdictOkay}, {300, kVerdictPerfect},
                                          {-5, kVerdictBad},   {400, kVerdictPerfect}};
  for (const auto& [score, verdict] : verdicts) EXPECT_EQ(PlanningVerdict(score), verdict) << score;
  EXPECT_STREQ(PlanningVerdictLabel(kVerdictBad), "planning_result_bad");
  EXPECT_STREQ(PlanningVerdictLabel(kVerdictOkay), "planning_result_okay");
  EXPECT_STREQ(PlanningVerdictLabel(kVerdictPerfect), "planning_result_perfect");
}

class StoredRowsTest : public testing::Test {
 protected:
  StoredRowsTest() {
    SetLogDirectory(mDir.Path().c_str());
    SetDataFolders(mDir.Path().c_str(), mDir.Path().c_str());
    ClearFileIndex();
    MountFileSystem();
  }
  ~StoredRowsTest() override { ClearFileIndex(); }
  TTempDir mDir;
  TSettings mSettings;
  TPrefs mPrefs{mSettings, true};
};

TEST_F(StoredRowsTest, RowsAreLittleEndianAndKeptPerPlayer) {
  const TUpgradeSlots first = Slots({5, 0, 31, -1, 0x01020304});
  StoreUpgradeSlots(mPrefs, "levelUpgrade1", first, 0);
  StoreUpgradeSlots(mPrefs, "levelUpgrade1", Slots({24}), 1);
  EXPECT_EQ(LoadUpgradeSlots(mPrefs, "levelUpgrade1", 0), first);
  EXPECT_EQ(LoadUpgradeSlots(mPrefs, "levelUpgrade1", 1), Slots({24}));
  EXPECT_EQ(LoadUpgradeSlots(mPrefs, "levelUpgrade2", 0), TUpgradeSlots{});  // missing: zeros
  uint8_t bytes[40] = {};
  ASSERT_EQ(mPrefs.GetBinary("levelUpgrade1", bytes, 40, 0), 0);
  EXPECT_EQ(bytes[16], 0x04);
  EXPECT_EQ(bytes[19], 0x01);
  EXPECT_EQ(bytes[12], 0xFF);

  // A reloaded store reads the same.
  TPrefs reloaded(mSettings, false);
  EXPECT_EQ(LoadUpgradeSlots(reloaded, "levelUpgrade1", 0), first);
}

TEST_F(StoredRowsTest, ThePlanningRecordKeepsWhatIsMissingOrTooLong) {
  TPlanningRecord record;
  record.category = {3, 0, 2};
  record.selection = {1, 2, 5};
  record.correct = {1, 0, 1};
  StorePlanningRecord(mPrefs, record);
  TPlanningRecord read;
  LoadPlanningRecord(mPrefs, &read);
  EXPECT_EQ(read.category, record.category);
  EXPECT_EQ(read.selection, record.selection);
  EXPECT_EQ(read.correct, record.correct);
  EXPECT_EQ(CountCorrectPicks(read), 2);

  const int32_t tooLong[4] = {9, 9, 9, 9};
  mPrefs.SetBinary(kPlanningSelectionKey, tooLong, 16, -1, false);
  const int32_t shorter[1] = {4};
  mPrefs.SetBinary(kPlanningCorrectKey, shorter, 4, -1, false);
  TPlanningRecord kept;
  kept.selection = {7, 7, 7};
  kept.correct = {0, 3, 3};
  LoadPlanningRecord(mPrefs, &kept);
  EXPECT_EQ(kept.selection, (std::array<int32_t, 3>{7, 7, 7}));
  EXPECT_EQ(kept.correct, (std::array<int32_t, 3>{4, 3, 3}));
  EXPECT_EQ(CountCorrectPicks(kept), 3);
}

}  // namespace
