// The SDL2 audio device and its callback.
#include "tvlib/platform/sdl/TSdlAudioOutput.h"

#include <SDL.h>

#include "tvlib/core/DebugLog.h"
#include "tvlib/platform/audio/TAudioMixer.h"

TSdlAudioOutput::~TSdlAudioOutput() {
  Stop();
}

bool TSdlAudioOutput::Start(TAudioMixer* mixer) {
  if (mDevice) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    DebugLog("TSdlAudioOutput::Start: no audio (%s)", SDL_GetError());
    return false;
  }
  mMixer = mixer;
  SDL_AudioSpec wanted{};
  wanted.freq = TAudioMixer::kRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = TAudioMixer::kChannels;
  wanted.samples = 1024;
  wanted.callback = &TSdlAudioOutput::Callback;
  wanted.userdata = this;
  mDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (!mDevice) {
    DebugLog("TSdlAudioOutput::Start: no audio device (%s)", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(mDevice, 0);
  return true;
}

void TSdlAudioOutput::Stop() {
  if (!mDevice) return;
  SDL_CloseAudioDevice(mDevice);
  mDevice = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TSdlAudioOutput::Callback(void* self, uint8_t* stream, int bytes) {
  auto* output = static_cast<TSdlAudioOutput*>(self);
  output->mMixer->Mix(reinterpret_cast<int16_t*>(stream), bytes / (2 * TAudioMixer::kChannels));
}
