// The reveal's timing and verdict.
#include "game/level/PlanningReveal.h"

#include "game/level/PlanningRecord.h"

int TRevealClock::Advance(uint32_t now) {
  if (mStarted && now - mLastStepTime <= mDelay) return kRevealNothing;
  if (mNextStep > kRevealVerdict) return kRevealFinished;
  mStarted = true;
  mLastStepTime = now;
  const int step = mNextStep++;
  if (step == kRevealVerdict) mDelay = kVerdictHoldMs;
  return step;
}

int PlanningVerdict(int score) {
  if (score <= 0) return kVerdictBad;
  if (score >= kPlanningRows * kPointsPerCorrectPick) return kVerdictPerfect;
  return kVerdictOkay;
}

const char* PlanningVerdictLabel(int verdict) {
  switch (verdict) {
    case kVerdictBad:
      return "planning_result_bad";
    case kVerdictPerfect:
      return "planning_result_perfect";
    default:
      return "planning_result_okay";
  }
}
