// The tests' one fake clock: it stands still until a test moves it (Advance, or `now`), or
// moves on `step` milliseconds at every reading; sleeping moves it and is recorded. It is the
// engine's clock while it lives; the clock it replaced (another fake, or the system's) comes
// back when it goes, so fakes nest.
#pragma once

#include <cstdint>
#include <vector>

#include "tvlib/core/Clock.h"

class TFakeClock : public TClockSource {
 public:
  explicit TFakeClock(uint32_t start = 100000, uint32_t stepPerReading = 0)
      : now(start), step(stepPerReading), mReplaced(sCurrent) {
    sCurrent = this;
    SetClockSource(this);
  }
  ~TFakeClock() override {
    sCurrent = mReplaced;
    SetClockSource(mReplaced);
  }
  TFakeClock(const TFakeClock&) = delete;
  TFakeClock& operator=(const TFakeClock&) = delete;

  uint32_t Now() override {
    if (step != 0) now += step;  // a clock that stands still is only read
    return now;
  }
  void Sleep(uint32_t ms) override {
    now += ms;
    sleeps.push_back(ms);
  }
  void Advance(uint32_t ms) { now += ms; }

  uint32_t now;
  uint32_t step;
  std::vector<uint32_t> sleeps;

 private:
  static inline TFakeClock* sCurrent = nullptr;
  TFakeClock* mReplaced;
};
