// The choice of audio output. The environment variable TV_AUDIO picks one: "null" (nothing,
// at the pace of the wall clock), "wav" (the file named by TV_AUDIO_FILE, else
// "festravask-audio.wav" in the working folder) or "card" (the default): the sound card
// output the caller supplies. A sound card that cannot be opened, or none at all, gives the
// null output: no sound card is never a failure.
#pragma once

#include <functional>
#include <memory>

#include "tvlib/platform/audio/TAudioDevice.h"

using TAudioOutputFactory = std::function<std::unique_ptr<TAudioOutput>()>;

std::unique_ptr<TAudioDevice> OpenConfiguredAudioDevice(const TAudioOutputFactory& card);
