// The stopwatch's reading: base plus platform time since SetTime, minus the paused time.
#include "tvlib/core/TClock.h"

#include "tvlib/core/TPlatform.h"

uint32_t TClock::GetTime() const {
  if (mPaused) return mValueAtPause;
  return mBase - mPausedTotal + (TPlatform::GetTime() - mStartTime);
}

void TClock::SetTime(uint32_t value) {
  mStartTime = TPlatform::GetTime();
  mBase = mValueAtPause = value;
  mPausedTotal = 0;
}

void TClock::Start() {
  if (!mPaused) return;
  mPaused = false;
  if (!mStarted) {
    mStarted = true;
    SetTime(0);
  } else {
    mPausedTotal += GetTime() - mValueAtPause;
  }
}

bool TClock::Pause() {
  if (mPaused) return true;
  mValueAtPause = GetTime();
  mPaused = true;
  return false;
}

void TClock::Reset() {
  SetTime(0);
  mPaused = true;
}
