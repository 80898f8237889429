// The level's planner event list and the level window as the room's owner.
#include <gtest/gtest.h>

#include "game/level/TGameLevel.h"

namespace {

TEST(LevelEventsTest, KeysCountFromOneAndDynamicEventsAddTwoThousand) {
  TVelkaEventList events;
  EXPECT_EQ(events.AddEvent(1002, 475, 211, 455, 30, 465, 80), 1);
  EXPECT_EQ(events.CreateEvent(2000, 10, 20, -40, -80, 10, 20, "fx/fire.lua", 500), 2002);
  EXPECT_EQ(events.AddEvent(1005, 0, 0, 0, 0, 0, 0), 3);
  const TVelkaEvent* cake = events.FindByKey(1);
  ASSERT_TRUE(cake);
  EXPECT_EQ(cake->code, 1002);
  EXPECT_EQ(cake->y, 211);
  EXPECT_EQ(cake->balloonX, 455);
  EXPECT_EQ(cake->popupY, 80);
  EXPECT_EQ(events.FindByKey(2002)->delay, 500);
  EXPECT_FALSE(events.FindByKey(2));
}

TEST(LevelEventsTest, RemovalTakesTheFirstOfACodeOrTheOneWithItsKey) {
  TVelkaEventList events;
  events.AddEvent(1005, 1, 0, 0, 0, 0, 0);
  events.AddEvent(1005, 2, 0, 0, 0, 0, 0);
  events.AddEvent(1006, 3, 0, 0, 0, 0, 0);
  events.RemoveMatchingEvent(1005, 3);  // key 3 is a 1006
  EXPECT_EQ(events.GetEvents().size(), 3u);
  events.RemoveMatchingEvent(1005, 2);
  events.RemoveEvent(1002);
  ASSERT_EQ(events.GetEvents().size(), 2u);
  events.RemoveEvent(1005);
  ASSERT_EQ(events.GetEvents().size(), 1u);
  EXPECT_EQ(events.GetEvents().front().code, 1006);
}

TEST(LevelEventsTest, TheLevelForwardsTheRoomsEventCalls) {
  std::unique_ptr<TWindow> window(TGameLevel::Create());
  ASSERT_TRUE(window->IsKindOf(TGameLevel::GetClassId()));
  EXPECT_TRUE(window->IsKindOf(TWindow::GetClassId()));
  auto& level = static_cast<TGameLevel&>(*window);
  TRoomLevel& room = level;
  const int key = room.AddEvent(1004, 340, 0, 340, 0, 340, 50);
  EXPECT_EQ(level.GetVelkaEvents().FindByKey(key)->code, 1004);
  room.RemoveMatchingEvent(1004, key);
  EXPECT_TRUE(level.GetVelkaEvents().GetEvents().empty());
}

}  // namespace
