// A special effect: one short-lived decoration of an effect group (particles, a sprite, a
// text or a sound) with the life every kind shares: a duration, a fade-out point, a time-out,
// a pulse, movement at a velocity (or after a followed position), rotation and a scale that
// runs from the start scale to the end scale over the duration.
//
// Times are seconds. A duration below 0 has no limit; a duration of exactly 0 is over at the
// first update and never drawn. The kinds implement Update (calling the base first), Draw
// and SetAlpha. UI thread only.
#pragma once

#include "tvlib/core/TVec.h"

class TSpecialEffect {
 public:
  TSpecialEffect() = default;
  virtual ~TSpecialEffect() = default;
  TSpecialEffect(const TSpecialEffect&) = delete;
  TSpecialEffect& operator=(const TSpecialEffect&) = delete;

  // Advances the effect by dt seconds; false once it is over.
  virtual bool Update(float dt);
  // Draws with every size times `scale`, at `position` in place of its own when given.
  virtual void Draw(float scale, const TVec2* position) = 0;
  virtual void SetAlpha(float alpha) { (void)alpha; }

  // Without randomising the speed is stored; with it, a speed s becomes (r mod 2|trunc s|) - |s|
  // for the next engine random number r, so it lies in [-|s|, |s|); 0 when s truncates to 0.
  void SetRotationSpeed(float speed, bool randomise);
  // Moves towards the target at `speed` and lasts until it gets there. Nothing for a speed
  // of about 0; at the target already the effect stands still and keeps its duration.
  void SetSpeedToTarget(float speed);

  void SetDuration(float seconds) { mDuration = mTimeLeft = seconds; }
  void SetTimeout(float seconds) { mTimeoutLength = mTimeoutRemaining = seconds; }
  void SetFadeOutPoint(float fraction) { mFadeOutPoint = fraction; }
  void SetPosition(TVec2 position) { mPosition = position; }
  void SetTargetPosition(TVec2 target) { mTargetPosition = target; }
  void SetPositionOffset(TVec2 offset) { mPositionOffset = offset; }
  void SetUseOffset(bool use) { mUseOffset = use; }
  void SetFollowedPosition(const TVec2* followed) { mFollowed = followed; }
  void SetBaseAlpha(float alpha) { mAlpha = alpha; }
  void SetRotation(float degrees) { mRotation = degrees; }
  void SetScales(float start, float end) {
    mStartScale = start;
    mEndScale = end;
  }
  void SetPulseInterval(float seconds) { mPulseInterval = seconds; }

  float GetDuration() const { return mDuration; }
  float GetTimeLeft() const { return mTimeLeft; }
  float GetFadeOutPoint() const { return mFadeOutPoint; }
  TVec2 GetPosition() const { return mPosition; }
  TVec2 GetTargetPosition() const { return mTargetPosition; }
  TVec2 GetPositionOffset() const { return mPositionOffset; }
  bool GetUseOffset() const { return mUseOffset; }
  const TVec2* GetFollowedPosition() const { return mFollowed; }
  float GetBaseAlpha() const { return mAlpha; }
  float GetRotation() const { return mRotation; }
  float GetRotationSpeed() const { return mRotationSpeed; }
  float GetStartScale() const { return mStartScale; }
  float GetEndScale() const { return mEndScale; }
  TVec2 GetVelocity() const { return mVelocity; }
  float GetPulseInterval() const { return mPulseInterval; }
  float GetTimeoutLength() const { return mTimeoutLength; }

  // What a draw now would use: whether anything is drawn, the scale (before the caller's
  // factor; `pulsing` lets the pulse drive it), the alpha (faded after the fade-out point of
  // a timed effect, and by the time-out) and the point.
  bool IsVisible() const;
  float CurrentScale(bool pulsing) const;
  float CurrentAlpha() const;
  TVec2 DrawPoint(const TVec2* position) const;

 protected:
  // Rotation and movement of the sprite-like kinds.
  void Turn(float dt) { mRotation += mRotationSpeed * dt; }
  void Move(float dt) {
    mPosition.x += mVelocity.x * dt;
    mPosition.y += mVelocity.y * dt;
  }

 private:
  float mDuration = -1.0f;
  float mTimeLeft = -1.0f;
  float mFadeOutPoint = 0.0f;
  TVec2 mPosition;
  TVec2 mTargetPosition;
  TVec2 mPositionOffset;
  bool mUseOffset = false;
  const TVec2* mFollowed = nullptr;
  float mAlpha = 1.0f;
  float mRotation = 0.0f;
  float mRotationSpeed = 0.0f;
  float mStartScale = 1.0f;
  float mEndScale = 1.0f;
  TVec2 mVelocity;
  float mPulseInterval = -1.0f;
  float mPulseTime = 0.0f;
  float mTimeoutLength = -1.0f;
  float mTimeoutRemaining = -1.0f;
};
