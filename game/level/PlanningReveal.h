// The pacing of the planning selection's reveal after the order is placed, and its verdict.
// The three picks show one by one (the first at once, then one every 400 ms), the verdict
// 400 ms after the last pick, and the reveal ends 3000 ms after the verdict. Pure rules: the
// selection dialog asks the clock on each of its ticks.
#pragma once

#include <cstdint>

// What is due when the reveal clock is asked.
inline constexpr int kRevealNothing = -1;  // nothing new yet
inline constexpr int kRevealVerdict = 3;   // steps 0 to 2 are the rows, 3 the verdict
inline constexpr int kRevealFinished = 4;  // the hold after the verdict is over

class TRevealClock {
 public:
  static constexpr uint32_t kStepDelayMs = 400;
  static constexpr uint32_t kVerdictHoldMs = 3000;

  // The step due at `now` (milliseconds of the platform clock, differences modulo 2^32): the
  // first call shows step 0; each later step comes once more than the delay has passed since
  // the step before; after the verdict, kRevealFinished, and again on every later call.
  int Advance(uint32_t now);

 private:
  bool mStarted = false;
  uint32_t mLastStepTime = 0;
  uint32_t mDelay = kStepDelayMs;
  int mNextStep = 0;
};

// The verdict by the points the picks earned: 1 bad (none), 3 perfect (all three), else 2
// okay.
inline constexpr int kVerdictBad = 1;
inline constexpr int kVerdictOkay = 2;
inline constexpr int kVerdictPerfect = 3;
int PlanningVerdict(int score);
// The string-table label of a verdict's text.
const char* PlanningVerdictLabel(int verdict);
