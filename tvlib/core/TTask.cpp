// The periodic task's schedule.
#include "tvlib/core/TTask.h"

#include "tvlib/core/TClock.h"
#include "tvlib/core/TPlatform.h"

namespace {

// A task more than this late is re-based rather than run once per missed period.
constexpr int32_t kRebaseAfterMs = 1000;

}  // namespace

TAnimTask::TAnimTask(TClock* clock) : mClock(clock) {
  mNextFire = GetTime();
}

uint32_t TAnimTask::GetTime() const {
  return mClock ? mClock->GetTime() : TPlatform::GetTime();
}

bool TAnimTask::IsReady(int phase) {
  if (phase == kDrawPhase) return mEveryFrame;
  if (IsSuspended()) return false;
  return static_cast<int32_t>(GetTime() - mNextFire) >= 0;
}

bool TAnimTask::Run() {
  uint32_t now = GetTime();
  if (static_cast<int32_t>(now - mNextFire) > kRebaseAfterMs) mNextFire = now;
  bool result;
  do {
    mNextFire = mFromNow ? now + mPeriod : mNextFire + mPeriod;
    result = Animate();
    // Without a period the due time never moves, so catching up would never end.
  } while (result && mCatchUp && mPeriod > 0 && mNextFire < now);
  return result;
}

void TAnimTask::SetPeriod(uint32_t period, bool repeat, bool fromNow, bool catchUp) {
  mFromNow = fromNow;
  mCatchUp = catchUp;
  if (!fromNow && !IsSuspended()) {
    mNextFire += period;
  } else {
    mNextFire = GetTime() + period;
  }
  mPeriod = repeat ? period : 0;
}

void TAnimTask::Suspend() {
  mNextFire = kSuspended;
  mEveryFrame = false;
}

int32_t TAnimTask::GetTimePastDue() const {
  if (IsSuspended()) return -1;
  return static_cast<int32_t>(GetTime() - mNextFire);
}

void TAnimTask::SetClock(TClock* clock) {
  int32_t past = GetTimePastDue();
  mClock = clock;
  // Due time = now - (time past due): the task stays as far past (or before) its due time.
  if (!IsSuspended()) mNextFire = GetTime() - static_cast<uint32_t>(past);
}
