// A pausable millisecond stopwatch over the platform clock (TPlatform::GetTime).
//
// A new clock is paused at 0 and has never run; the first Start sets it to 0 and runs it.
// Pausing freezes the reading; starting again continues from the frozen value. Times are
// 32-bit milliseconds that wrap, as the platform clock's do. UI thread only.
#pragma once

#include <cstdint>

class TClock {
 public:
  TClock() = default;
  virtual ~TClock() = default;

  uint32_t GetTime() const;
  // Sets the reading; a paused clock stays paused.
  void SetTime(uint32_t value);
  void Start();
  // Answers whether the clock was already paused.
  bool Pause();
  // Back to 0 and paused; the next Start continues from 0.
  void Reset();
  bool IsPaused() const { return mPaused; }

 private:
  bool mPaused = true;
  bool mStarted = false;
  uint32_t mStartTime = 0;
  uint32_t mBase = 0;
  uint32_t mValueAtPause = 0;
  uint32_t mPausedTotal = 0;
};
