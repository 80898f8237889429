// The sound manager's first cut: volume bookkeeping.
#include "tvlib/media/TSoundManager.h"

bool TSoundManager::Init() {
  if (!mInitDone) {
    mInitDone = true;
    mInitResult = true;
  }
  return mInitResult;
}

float TSoundManager::GetGroupVolume(int group) const {
  auto it = mGroupVolumes.find(group);
  return it == mGroupVolumes.end() ? mMasterVolume : mMasterVolume * it->second;
}
