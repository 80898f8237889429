// The engine's one millisecond clock, standing in for timeGetTime, GetTickCount and Sleep.
//
// Monotonic (never jumps with the wall clock) and 32-bit: it wraps after about 49 days, so
// callers compare times by unsigned or signed difference, never by order. Tests replace the
// source with SetClockSource to run timing rules on a fake clock; the replacement is
// process-wide and must outlive its use.
#pragma once

#include <cstdint>

class TClockSource {
 public:
  virtual ~TClockSource() = default;
  // Milliseconds since some fixed point in the past.
  virtual uint32_t Now() = 0;
  // Blocks the calling thread for about `ms` milliseconds.
  virtual void Sleep(uint32_t ms) = 0;
};

// The current clock's time in milliseconds.
uint32_t ClockMilliseconds();

// Sleeps on the current clock (a fake clock may simply advance).
void ClockSleep(uint32_t ms);

// Replaces the clock; null brings back the monotonic system clock.
void SetClockSource(TClockSource* source);
