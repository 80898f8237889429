// Mixing on demand.
#include "tvlib/platform/audio/TManualAudioOutput.h"

#include "tvlib/platform/audio/TAudioMixer.h"

bool TManualAudioOutput::Start(TAudioMixer* mixer) {
  mMixer = mixer;
  return true;
}

void TManualAudioOutput::Advance(int frames) {
  if (!mMixer || frames <= 0) return;
  mBlock.resize(size_t(frames) * TAudioMixer::kChannels);
  mMixer->Mix(mBlock.data(), frames);
  if (mCapture) mCaptured.insert(mCaptured.end(), mBlock.begin(), mBlock.end());
}
