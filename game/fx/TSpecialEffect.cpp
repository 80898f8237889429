// The life every special effect shares: time-out, following, pulse and duration, and the
// scale, alpha and point a draw uses.
#include "game/fx/TSpecialEffect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tvlib/core/TRandom.h"

bool TSpecialEffect::Update(float dt) {
  if (mTimeoutLength >= 0.0f) {
    mTimeoutRemaining -= dt;
    if (mTimeoutRemaining < 0.0f) return false;
  }
  if (mFollowed) mPosition = *mFollowed;
  if (mPulseInterval > 0.0f) mPulseTime += dt;
  mTimeLeft -= dt;
  // A duration of 0 would divide every ratio by zero: such an effect is over at once.
  if (mDuration == 0.0f) return false;
  return !(mDuration > 0.0f && mTimeLeft <= 0.0f);
}

void TSpecialEffect::SetRotationSpeed(float speed, bool randomise) {
  if (!randomise) {
    mRotationSpeed = speed;
    return;
  }
  // A speed below 1 in size leaves no range to draw from: it turns by 0.
  const double whole = std::fabs(std::trunc(static_cast<double>(speed)));
  if (!(whole >= 1.0)) {
    mRotationSpeed = 0.0f;
    return;
  }
  const int64_t range = 2 * static_cast<int64_t>(std::min(whole, 1e9));
  mRotationSpeed = static_cast<float>(TvRand() % range) - std::fabs(speed);
}

void TSpecialEffect::SetSpeedToTarget(float speed) {
  if (!(std::fabs(speed) > 0.0001f)) return;
  const TVec2 way(mTargetPosition.x - mPosition.x, mTargetPosition.y - mPosition.y);
  const float distance = way.Length();
  // Already there: standing still, the effect keeps the duration it has.
  if (!(distance > 0.0f)) {
    mVelocity = TVec2();
    return;
  }
  mVelocity = TVec2(way.x / distance * speed, way.y / distance * speed);
  mDuration = mTimeLeft = distance / speed;
}

bool TSpecialEffect::IsVisible() const {
  if (mDuration == 0.0f) return false;
  return !(mDuration > 0.0f && mTimeLeft <= 0.0f);
}

float TSpecialEffect::CurrentScale(bool pulsing) const {
  if (pulsing && mPulseInterval > 0.0f)
    return mStartScale + 0.5f * std::sin(mPulseTime / mPulseInterval) * (mEndScale - mStartScale);
  // Without a duration the effect keeps its start scale.
  const float ratio = mDuration > 0.0f ? mTimeLeft / mDuration : 1.0f;
  return mEndScale - (mEndScale - mStartScale) * ratio;
}

float TSpecialEffect::CurrentAlpha() const {
  if (mDuration == 0.0f) return 0.0f;
  float alpha = mAlpha;
  // Only a timed effect fades by its life: without a duration the ratio would grow without
  // end and brighten what a time-out fades.
  if (mDuration > 0.0f) {
    const float progress = 1.0f - mTimeLeft / mDuration;
    if (mFadeOutPoint < progress) {
      const float fadeLength = mDuration * (1.0f - mFadeOutPoint);
      alpha = fadeLength != 0.0f ? mAlpha * mTimeLeft / fadeLength : 0.0f;
    }
  }
  if (mTimeoutLength >= 0.0f)
    alpha *= mTimeoutLength > 0.0f ? mTimeoutRemaining / mTimeoutLength : 0.0f;
  if (!(alpha > 0.0f)) return 0.0f;  // also NaN
  return std::min(alpha, 1.0f);
}

TVec2 TSpecialEffect::DrawPoint(const TVec2* position) const {
  TVec2 point = position ? *position : mPosition;
  if (mUseOffset) point += mPositionOffset;
  return point;
}
