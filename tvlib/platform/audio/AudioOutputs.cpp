// Choosing and opening the audio output.
#include "tvlib/platform/audio/AudioOutputs.h"

#include <cstdlib>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/platform/audio/TPacedAudioOutput.h"
#include "tvlib/platform/audio/TWavAudioOutput.h"

std::unique_ptr<TAudioDevice> OpenConfiguredAudioDevice(const TAudioOutputFactory& card) {
  const char* asked = std::getenv("TV_AUDIO");
  if (asked && std::strcmp(asked, "wav") == 0) {
    const char* path = std::getenv("TV_AUDIO_FILE");
    if (auto device = TAudioDevice::Open(
            std::make_unique<TWavAudioOutput>(path && *path ? path : "festravask-audio.wav")))
      return device;
    DebugLog("OpenConfiguredAudioDevice: the WAV file could not be created");
  } else if (!(asked && std::strcmp(asked, "null") == 0) && card) {
    if (auto device = TAudioDevice::Open(card())) return device;
  }
  return TAudioDevice::Open(std::make_unique<TNullAudioOutput>());
}
