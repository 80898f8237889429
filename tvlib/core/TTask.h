// Tasks: units of timed or per-frame work run by task lists (TTaskList).
//
// A task list runs its tasks in passes: phase 0, the timer phase, on every idle tick of the
// event pump, and phase 1, the draw phase, in every drawn frame. TAnimTask fires on a
// millisecond schedule of the platform clock or of a pausable TClock; every running script
// and every screen's update is one. UI thread only.
#pragma once

#include <cstdint>

class TClock;

inline constexpr int kTimerPhase = 0;
inline constexpr int kDrawPhase = 1;

class TTask {
 public:
  virtual ~TTask() = default;
  virtual bool IsReady(int /*phase*/) { return true; }
  // The task's work; false when the task is finished (its list then destroys it).
  virtual bool Run() = 0;
};

class TAnimTask : public TTask {
 public:
  // nextFire value of a suspended task.
  static constexpr uint32_t kSuspended = 0xFFFFFFFFu;

  // Due at once, not repeating, on `clock` (null: the platform clock).
  explicit TAnimTask(TClock* clock = nullptr);

  // Phase 1: whether the task wants every frame; phase 0: whether it is due.
  bool IsReady(int phase) override;
  // Runs Animate when due; a task more than a second late is re-based instead of catching
  // up, and a repeating task with catch-up runs once per missed period.
  bool Run() override;
  // The task's work; false when finished.
  virtual bool Animate() = 0;

  // Schedules the next run `period` ms after the previous due time, or after now when
  // `fromNow` (or when suspended). Without `repeat` the task keeps that time and is ready
  // on every pass after it until it finishes or is suspended again.
  void SetPeriod(uint32_t period, bool repeat, bool fromNow, bool catchUp);
  void Suspend();
  void SetEveryFrame(bool everyFrame) { mEveryFrame = everyFrame; }
  uint32_t GetTime() const;
  // Milliseconds past the due time (negative before it); -1 while suspended.
  int32_t GetTimePastDue() const;
  // Moves the task to another clock, keeping its distance to the due time.
  void SetClock(TClock* clock);
  bool IsSuspended() const { return mNextFire == kSuspended; }
  uint32_t GetNextFire() const { return mNextFire; }

 private:
  bool mEveryFrame = false;
  uint32_t mNextFire = 0;
  uint32_t mPeriod = 0;
  bool mFromNow = false;
  bool mCatchUp = false;
  TClock* mClock = nullptr;
};
