// The sound kind: starts its sound once and stops a looping one when it goes.
#include "game/fx/TSoundSpecialEffect.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/media/TSound.h"

TSoundSpecialEffect::~TSoundSpecialEffect() {
  if (mSound && mLooping && mHandle >= 0) mSound->Stop(mHandle);
}

void TSoundSpecialEffect::SetSoundName(const TString& name) {
  mSound = TSound::Get(name.c_str(), true, kSoundGroup);
  if (!mSound) DebugLog("TSoundSpecialEffect::SetSoundName: no sound '%s'", name.c_str());
}

bool TSoundSpecialEffect::Update(float dt) {
  if (!TSpecialEffect::Update(dt)) return false;
  if (!mStarted) {
    if (!mSound) return false;
    mHandle = mSound->Play(mLooping);
    mStarted = true;
  }
  return true;
}

void TSoundSpecialEffect::Draw(float scale, const TVec2* position) {
  (void)scale;
  (void)position;  // a sound has nothing to draw
}
