// A sound manager served by hand: the engine clock is a fake one, the device plays through
// the hand-stepped null output with capture on, and Step runs the sound thread's step every
// 50 ms and the UI thread's Update as the event pump would. Also the test sounds: tones of
// exact lengths made with libvorbisenc.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/FakeClock.h"
#include "tests/support/OggEncoder.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPlatformData.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/audio/TAudioDevice.h"
#include "tvlib/platform/audio/TManualAudioOutput.h"

// A mono tone of `seconds` at 44100 Hz whose level changes every frame (so that a repeated
// or skipped frame shows).
inline std::string ToneOgg(double seconds, int rate = 44100, int channels = 1, float level = 0.5f) {
  long frames = std::lround(seconds * rate);
  return EncodeOgg(rate, channels, frames, [rate, level](long i, int c) {
    return level * float(std::sin(2 * M_PI * (440.0 + 110.0 * c) * double(i) / rate));
  });
}

class SoundTest : public ::testing::Test {
 protected:
  static constexpr int kFramesPerMs = 44100 / 1000;  // whole frames: steps are 10 ms

  SoundTest() {
    mPlatform = std::make_unique<TAppPlatform>(&mData);
    MakeManager(true);
  }
  ~SoundTest() override {
    mSounds.clear();
    mData.soundManager.reset();
  }

  // A manager whose device opens (or, with `device` false, never opens), started.
  void MakeManager(bool device) {
    mData.soundManager.reset();
    mOutput = nullptr;
    auto open = [this, device]() -> std::unique_ptr<TAudioDevice> {
      if (!device) return nullptr;
      auto output = std::make_unique<TManualAudioOutput>();
      mOutput = output.get();
      mOutput->SetCapture(true);
      return TAudioDevice::Open(std::move(output));
    };
    mData.soundManager = std::make_unique<TSoundManager>(open, false);
    mManager = mData.soundManager.get();
    mInitAnswer = mManager->Init();
  }

  // A sound made from Ogg bytes (decoded whole when short), in `group`.
  std::shared_ptr<TSound> Sound(const std::string& ogg, int group = 1000) {
    auto sound = std::make_shared<TSound>();
    EXPECT_TRUE(
        sound->GetData().OpenMemory(reinterpret_cast<const uint8_t*>(ogg.data()), ogg.size()));
    sound->GetData().mGroup = group;
    mSounds.push_back(sound);
    return sound;
  }

  // Runs `ms` milliseconds (a multiple of 10) of playback, the sound thread's step every
  // 50 ms and the UI thread's Update every 10 ms.
  void Step(int ms) {
    for (int t = 0; t < ms; t += 10) {
      if (mOutput) mOutput->Advance(10 * 44100 / 1000);
      mClock.now += 10;
      mElapsed += 10;
      if (mElapsed % 50 == 0) {
        mManager->Lock();
        mManager->Service(true);
        mManager->Unlock();
      }
      mManager->Update();
    }
  }

  // Left channel of what was mixed.
  std::vector<int16_t> MixedLeft() const {
    std::vector<int16_t> left;
    for (size_t i = 0; i < mOutput->GetCaptured().size(); i += 2)
      left.push_back(mOutput->GetCaptured()[i]);
    return left;
  }

  static std::vector<int16_t> Samples(const TSoundData& data) {
    std::vector<int16_t> samples(size_t(data.mDecodedBytes) / 2);
    std::memcpy(samples.data(), data.mPcm.data(), samples.size() * 2);
    return samples;
  }

  TFakeClock mClock{5000};
  TAssetManager mAssets;
  TPlatformData mData;
  std::unique_ptr<TAppPlatform> mPlatform;
  TSoundManager* mManager = nullptr;
  TManualAudioOutput* mOutput = nullptr;
  bool mInitAnswer = false;
  int mElapsed = 0;
  std::vector<std::shared_ptr<TSound>> mSounds;
};
