// The room's way into its level once the level goes: a level torn down with seated, sobbing
// guests among its members, references that answer null after the level detached its room,
// and guests that outlive their level. Runs without a platform or pictures: nothing here
// draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "game/room/GuestCodes.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraTable.h"
#include "tests/game/room/RecordingLevel.h"
#include "tvlib/core/TRandom.h"

namespace {

// A level whose guests are destroyed after the state their leaving calls reach: the lists
// of playing sobs and open planner events are declared after the guests, so they go first.
// Reaching them from a guest's destructor would read freed memory.
class TTornDownLevel : public TRecordingLevel {
 public:
  ~TTornDownLevel() override { DetachRoom(); }

  int StartSobbing() override {
    playingSobs.push_back(nextSob);
    return nextSob++;
  }
  void StopSobbing(int handle) override { std::erase(playingSobs, handle); }
  int AddEvent(int code, int /*x*/, int /*y*/, int /*balloonX*/, int /*balloonY*/, int /*popupX*/,
               int /*popupY*/) override {
    openEvents.push_back(code);
    return static_cast<int>(openEvents.size());
  }
  void RemoveMatchingEvent(int code, int /*key*/) override {
    openEvents.erase(std::find(openEvents.begin(), openEvents.end(), code));
  }

  std::shared_ptr<TFestraTable> table = TFestraTable::Create(508);
  std::vector<std::shared_ptr<TFestraGuest>> guests;
  std::vector<int> playingSobs;
  std::vector<int> openEvents;
  int nextSob = 1;
};

// An aunt of the level, seated at `seat` of its table, crying for a tissue.
std::shared_ptr<TFestraGuest> SobbingAunt(TTornDownLevel& level, int seat) {
  auto aunt = TFestraGuest::Create(600);
  aunt->LoadAnimations({}, kGuestAunt);
  aunt->SetOwner(&level);
  aunt->SetMaxPatience(300);
  aunt->SetPatience(300);
  aunt->SetStepTimes({0, 0, 0, 0, 0});
  aunt->SetChances({.tissue = 100});
  aunt->SetSeat(level.table, seat);
  aunt->SetDesireStep(1);
  for (int tick = 0; tick < 10 && aunt->GetDesire() != kDesireTissue; ++tick) aunt->Update(100);
  return aunt;
}

class LevelLifetimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TvSrand(1);
    level->table->Setup("", 4, 100, 200, "");
  }
  std::unique_ptr<TTornDownLevel> level = std::make_unique<TTornDownLevel>();
};

TEST_F(LevelLifetimeTest, ALevelGoesWithItsSeatedSobbingGuestsInAnyMemberOrder) {
  for (const int seat : {0, 2, 3}) level->guests.push_back(SobbingAunt(*level, seat));
  ASSERT_EQ(level->playingSobs.size(), 3u);
  ASSERT_EQ(level->openEvents.size(), 3u);
  EXPECT_TRUE(level->table->IsOccupied(2));
  level.reset();  // the sanitizer fails the test should a guest reach the level's members
}

TEST_F(LevelLifetimeTest, AGuestThatOutlivesItsLevelLeavesWithoutIt) {
  auto aunt = SobbingAunt(*level, 1);
  ASSERT_EQ(level->playingSobs, std::vector<int>{1});
  const std::shared_ptr<TFestraTable> table = level->table;
  level.reset();
  EXPECT_EQ(aunt->GetOwner(), nullptr);
  aunt->ClearSeat();
  EXPECT_FALSE(table->IsOccupied(1)) << "the seat is still freed";
  EXPECT_EQ(aunt->GetSobHandle(), -1);
  EXPECT_EQ(aunt->GetPlannerEventId(), -1);
}

TEST_F(LevelLifetimeTest, ReferencesAnswerTheLevelUntilItDetachesAndCopiesAreLevelsOfTheirOwn) {
  TRecordingLevel first;
  const TRoomLevelRef ref(&first);
  EXPECT_EQ(ref.Get(), &first);
  EXPECT_EQ(TRoomLevelRef().Get(), nullptr);
  EXPECT_EQ(TRoomLevelRef(nullptr).Get(), nullptr);
  {
    TRecordingLevel copy = first;
    EXPECT_EQ(TRoomLevelRef(&copy).Get(), &copy);
    EXPECT_EQ(ref.Get(), &first) << "a copy takes nobody's references";
    copy = first;
    EXPECT_EQ(TRoomLevelRef(&copy).Get(), &copy);
  }
  EXPECT_EQ(ref.Get(), &first) << "the copy's going leaves the original reachable";
  auto gone = std::make_unique<TRecordingLevel>();
  const TRoomLevelRef goneRef(gone.get());
  gone.reset();
  EXPECT_EQ(goneRef.Get(), nullptr);
}

}  // namespace
