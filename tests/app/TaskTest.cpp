// The task list: periodic tasks, catch-up, suspended tasks and finished ones.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/app/PlatformFixture.h"
#include "tvlib/core/TClock.h"
#include "tvlib/core/TTaskList.h"

namespace {

// A periodic task whose work is a test's lambda; counts runs and destruction.
class TProbeTask : public TAnimTask {
 public:
  explicit TProbeTask(std::function<bool(TProbeTask&)> work = nullptr, TClock* clock = nullptr,
                      int* destroyed = nullptr)
      : TAnimTask(clock), mWork(std::move(work)), mDestroyed(destroyed) {}
  ~TProbeTask() override {
    if (mDestroyed) ++*mDestroyed;
  }
  bool Animate() override {
    ++mRuns;
    return mWork ? mWork(*this) : true;
  }
  std::function<bool(TProbeTask&)> mWork;
  int* mDestroyed;
  int mRuns = 0;
};

class TaskTest : public ::testing::Test {
 protected:
  TFakeClock mClock;
  TPlatformData mData;
  TAppPlatform mPlatform{&mData};
  TTaskList mList;
};

TEST_F(TaskTest, PeriodicTaskRunsOncePerPeriodAndRebasesAfterASecondLate) {
  auto* task = new TProbeTask;
  task->SetPeriod(20, true, false, true);
  mList.Add(task);
  mList.Run(kTimerPhase);
  EXPECT_EQ(task->mRuns, 0);  // due 20 ms from its creation
  mClock.Advance(20);
  mList.Run(kTimerPhase);
  EXPECT_EQ(task->mRuns, 1);

  // 0.9 s late with catch-up: once per missed period, in one pass.
  mClock.Advance(900);
  mList.Run(kTimerPhase);
  EXPECT_EQ(task->mRuns, 1 + 44);  // due at 40 .. 900; 920 is due now

  // 1.5 s asleep: re-based, so it runs once and is next due one period from now.
  mClock.Advance(1500);
  mList.Run(kTimerPhase);
  EXPECT_EQ(task->mRuns, 46);
  EXPECT_EQ(task->GetTimePastDue(), -20);
}

TEST_F(TaskTest, CatchUpWithoutAPeriodRunsOncePerPass) {
  // Designed as an endless loop: the due time never moves when the period is 0.
  auto* task = new TProbeTask;
  task->SetPeriod(0, false, false, true);
  mList.Add(task);
  mClock.Advance(500);
  mList.Run(kTimerPhase);
  mList.Run(kTimerPhase);
  EXPECT_EQ(task->mRuns, 2);  // not repeating: ready on every pass until it ends
}

TEST_F(TaskTest, SuspendedTasksWaitAndTheDrawPhaseOnlyAsksForEveryFrame) {
  auto* task = new TProbeTask;
  mList.Add(task);
  task->Suspend();
  mClock.Advance(5000);
  mList.Run(kTimerPhase);
  EXPECT_EQ(task->mRuns, 0);
  EXPECT_EQ(task->GetTimePastDue(), -1);
  EXPECT_FALSE(task->IsReady(kDrawPhase));
  task->SetEveryFrame(true);
  mList.Run(kDrawPhase);
  EXPECT_EQ(task->mRuns, 1);  // the time is not looked at
  task->SetPeriod(30, false, false, false);
  EXPECT_EQ(task->GetTimePastDue(), -30);
}

TEST_F(TaskTest, FinishedTasksAreDestroyed) {
  int destroyed = 0;
  mList.Add(new TProbeTask([](TProbeTask&) { return false; }, nullptr, &destroyed));
  mList.Run(kTimerPhase);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(mList.GetCount(), 0);
}

TEST_F(TaskTest, ATaskRemovingItselfIsTakenOutAfterThePassButNotDestroyed) {
  int destroyed = 0;
  TProbeTask self([this](TProbeTask& t) { return mList.Remove(&t); }, nullptr, &destroyed);
  int laterRuns = 0;
  mList.Add(&self);
  mList.Add(new TProbeTask([&](TProbeTask&) { return ++laterRuns, true; }));
  mList.Run(kTimerPhase);
  EXPECT_EQ(laterRuns, 1);
  EXPECT_FALSE(mList.Contains(&self));
  EXPECT_EQ(destroyed, 0);
  EXPECT_FALSE(mList.Remove(&self));
}

TEST_F(TaskTest, DeleteAllInsideAPassDestroysEveryTaskAfterIt) {
  int destroyed = 0;
  int secondRuns = 0;
  mList.Add(new TProbeTask(
      [&](TProbeTask&) {
        mList.DeleteAll();
        mList.DeleteAll();  // twice in one pass destroys each task once
        EXPECT_EQ(destroyed, 0);
        return true;
      },
      nullptr, &destroyed));
  mList.Add(new TProbeTask([&](TProbeTask&) { return ++secondRuns, true; }, nullptr, &destroyed));
  mList.Run(kTimerPhase);
  EXPECT_EQ(secondRuns, 0);  // already removed for this pass
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(mList.GetCount(), 0);
}

TEST_F(TaskTest, AListDestroyedByItsOwnTaskFinishesSafely) {
  int destroyed = 0;
  auto* list = new TTaskList;
  list->Add(new TProbeTask([&](TProbeTask&) { return delete list, true; }, nullptr, &destroyed));
  list->Add(new TProbeTask(nullptr, nullptr, &destroyed));
  list->Run(kTimerPhase);
  EXPECT_EQ(destroyed, 2);
}

TEST_F(TaskTest, TasksAddedDuringAPassRunInIt) {
  int added = 0;
  mList.Add(new TProbeTask([&](TProbeTask&) {
    mList.Add(new TProbeTask([&](TProbeTask&) { return ++added, false; }));
    return false;
  }));
  mList.Run(kTimerPhase);
  EXPECT_EQ(added, 1);
  EXPECT_EQ(mList.GetCount(), 0);
}

TEST_F(TaskTest, ClockPausesAndResumesFromItsValue) {
  TClock clock;
  EXPECT_EQ(clock.GetTime(), 0u);
  clock.Start();
  mClock.Advance(5000);
  EXPECT_FALSE(clock.Pause());
  EXPECT_TRUE(clock.Pause());
  mClock.Advance(2000);
  clock.Start();
  EXPECT_EQ(clock.GetTime(), 5000u);
  mClock.Advance(10);
  EXPECT_EQ(clock.GetTime(), 5010u);
  clock.Reset();
  mClock.Advance(10);
  clock.Start();  // started before: continues from 0
  mClock.Advance(3);
  EXPECT_EQ(clock.GetTime(), 3u);
}

TEST_F(TaskTest, TaskOnAPausedClockWaitsAndKeepsItsDistanceWhenMoved) {
  TClock clock;
  clock.Start();
  auto* task = new TProbeTask(nullptr, &clock);
  task->SetPeriod(100, true, true, false);
  mList.Add(task);
  clock.Pause();
  mClock.Advance(1000);
  mList.Run(kTimerPhase);
  EXPECT_EQ(task->mRuns, 0);
  task->SetClock(nullptr);
  EXPECT_EQ(task->GetTimePastDue(), -100);
}

}  // namespace
