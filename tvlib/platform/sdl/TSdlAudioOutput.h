// The players' audio output: an SDL2 audio device at 44100 Hz stereo 16-bit whose callback
// pulls frames from the mixer. Start fails (never aborts) when SDL finds no sound card.
#pragma once

#include <cstdint>

#include "tvlib/platform/audio/TAudioOutput.h"

class TSdlAudioOutput : public TAudioOutput {
 public:
  ~TSdlAudioOutput() override;
  bool Start(TAudioMixer* mixer) override;
  void Stop() override;

 private:
  static void Callback(void* self, uint8_t* stream, int bytes);

  TAudioMixer* mMixer = nullptr;
  uint32_t mDevice = 0;
};
