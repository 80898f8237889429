// The null output stepped by hand: nothing plays until Advance mixes a number of frames on
// the caller's thread. Tests use it to run the device deterministically and, with capture
// on, to read back exactly what was mixed.
#pragma once

#include <cstdint>
#include <vector>

#include "tvlib/platform/audio/TAudioOutput.h"

class TManualAudioOutput : public TAudioOutput {
 public:
  bool Start(TAudioMixer* mixer) override;
  void Stop() override { mMixer = nullptr; }
  // Mixes `frames` frames (nothing before Start or after Stop).
  void Advance(int frames);
  // Keeps every mixed frame in GetCaptured when on.
  void SetCapture(bool on) { mCapture = on; }
  // Interleaved stereo samples mixed while capture was on.
  const std::vector<int16_t>& GetCaptured() const { return mCaptured; }
  void ClearCaptured() { mCaptured.clear(); }

 private:
  TAudioMixer* mMixer = nullptr;
  bool mCapture = false;
  std::vector<int16_t> mBlock;
  std::vector<int16_t> mCaptured;
};
