// Playing sounds through the manager served by hand: one-shots end once and are released on
// the UI thread, loops join seamlessly, streams drain after their data, handles, groups,
// focus, volumes, and a manager without a device.
#include <gtest/gtest.h>

#include "tests/media/OggReference.h"
#include "tests/media/SoundFixture.h"
#include "tvlib/media/TSoundStream.h"
#include "tvlib/platform/audio/TAudioBuffer.h"

namespace {

// Index of the first frame from which every later one is silent.
size_t SoundEnd(const std::vector<int16_t>& samples) {
  size_t end = samples.size();
  while (end > 0 && samples[end - 1] == 0) --end;
  return end;
}

struct OneShotCase {
  double seconds;
  bool decodedWhole;
};

class OneShot : public SoundTest, public ::testing::WithParamInterface<OneShotCase> {};

TEST_P(OneShot, PlaysItsSamplesOnceThenIsReleasedOnceOnTheUiThread) {
  const std::string ogg = ToneOgg(GetParam().seconds);
  const std::vector<int16_t> reference = DecodeReference(ogg);
  auto sound = Sound(ogg);
  ASSERT_EQ(sound->GetData().IsDecodedWhole(), GetParam().decodedWhole);
  ASSERT_EQ(sound->Play(false), 0);

  int releases = 0;
  int releasedAtMs = -1;
  const int total = int(GetParam().seconds * 1000) + 3000;
  for (int ms = 10; ms <= total; ms += 10) {
    mOutput->Advance(441);
    mClock.now += 10;
    if (ms % 50 == 0) {
      mManager->Lock();
      mManager->Service(true);
      mManager->Unlock();
    }
    if (mManager->GetReleaseCount() > 0) {
      // Finished on the sound thread's step but not destroyed there: the handle stays until
      // the UI thread's Update.
      EXPECT_EQ(sound->GetData().mHandles.count(0), 1u);
      ++releases;
      releasedAtMs = ms;
    }
    mManager->Update();
  }
  EXPECT_EQ(releases, 1);
  EXPECT_TRUE(sound->GetData().mHandles.empty());
  EXPECT_EQ(mManager->GetLiveCount(), 0);
  EXPECT_GE(releasedAtMs, int(GetParam().seconds * 1000));
  EXPECT_LE(releasedAtMs, int(GetParam().seconds * 1000) + 2600);

  const std::vector<int16_t> left = MixedLeft();
  ASSERT_GE(left.size(), reference.size());
  EXPECT_TRUE(std::equal(reference.begin(), reference.end(), left.begin()));
  EXPECT_EQ(SoundEnd(left), SoundEnd(reference));
}

INSTANTIATE_TEST_SUITE_P(Lengths, OneShot,
                         ::testing::Values(OneShotCase{1.0, true}, OneShotCase{1.9, true},
                                           OneShotCase{2.01, false}, OneShotCase{30.0, false}));

TEST_F(SoundTest, AOneShotEndsOnceEvenWhenTheSoundThreadStarves) {
  auto sound = Sound(ToneOgg(1.9));
  ASSERT_EQ(sound->Play(false), 0);
  auto serve = [this] {
    mManager->Lock();
    mManager->Service(true);
    mManager->Unlock();
  };
  mOutput->Advance(441 * 51);
  mClock.now += 510;
  serve();
  // The thread sleeps past the end of the buffer: the buffer has stopped with its cursors at 0.
  mOutput->Advance(441 * 190);
  mClock.now += 1900;
  serve();
  EXPECT_EQ(mManager->GetReleaseCount(), 1);
  mManager->Update();
  EXPECT_TRUE(sound->GetData().mHandles.empty());
}

class Loop : public SoundTest, public ::testing::WithParamInterface<double> {};

TEST_P(Loop, RepeatsSampleForSampleAcrossTheSeam) {
  const std::string ogg = ToneOgg(GetParam());
  const std::vector<int16_t> reference = DecodeReference(ogg);
  auto sound = Sound(ogg);
  ASSERT_EQ(sound->Play(true), 0);
  Step(6500);
  const std::vector<int16_t> left = MixedLeft();
  ASSERT_EQ(left.size(), 6500u * 441 / 10);
  size_t wrong = 0;
  for (size_t i = 0; i < left.size(); ++i) wrong += left[i] != reference[i % reference.size()];
  EXPECT_EQ(wrong, 0u);
  EXPECT_EQ(sound->GetData().mHandles.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, Loop, ::testing::Values(1.0, 1.5, 2.01));

TEST_F(SoundTest, HandlesCountUpPerSoundAndStopAndPauseReportWhatTheyFound) {
  auto first = Sound(ToneOgg(1.0));
  auto second = Sound(ToneOgg(1.0));
  EXPECT_EQ(first->Play(true), 0);
  EXPECT_EQ(first->Play(true), 1);
  EXPECT_EQ(second->Play(false), 0);
  EXPECT_EQ(first->Play(false), 2);
  EXPECT_EQ(mManager->GetLiveCount(), 4);

  EXPECT_FALSE(first->Stop(7));
  EXPECT_FALSE(first->Pause(true, 7));
  EXPECT_TRUE(first->Pause(true, 1));
  EXPECT_TRUE(first->GetData().mHandles.at(1)->IsPaused());
  EXPECT_TRUE(first->Stop(1));
  EXPECT_EQ(first->GetData().mHandles.count(1), 0u);
  EXPECT_EQ(mManager->GetLiveCount(), 3);

  // Stopping all: each stream's destructor reports to the table being emptied.
  EXPECT_TRUE(first->Stop(-1));
  EXPECT_TRUE(first->GetData().mHandles.empty());
  EXPECT_FALSE(first->Stop(-1));
  EXPECT_FALSE(first->Pause(true, -1));
  EXPECT_EQ(mManager->GetLiveCount(), 1);
  EXPECT_EQ(first->Play(false), 3);
}

TEST_F(SoundTest, APlayWhoseBufferCannotBeMadeLeavesNothingBehind) {
  auto sound = Sound(ToneOgg(1.0));
  mManager->GetDevice()->FailNextBuffers(1);
  EXPECT_EQ(sound->Play(false), -1);
  EXPECT_TRUE(sound->GetData().mHandles.empty());
  EXPECT_EQ(mManager->GetLiveCount() + mManager->GetReleaseCount(), 0);
  // The next play takes handle 0 and is the only instance.
  EXPECT_EQ(sound->Play(false), 0);
  EXPECT_EQ(sound->GetData().mHandles.size(), 1u);
  EXPECT_EQ(mManager->GetLiveCount(), 1);
}

TEST_F(SoundTest, AManagerWithoutADeviceAnswersMinusOneAndStaysQuiet) {
  MakeManager(false);
  EXPECT_FALSE(mInitAnswer);
  EXPECT_FALSE(mManager->Init());
  auto sound = Sound(ToneOgg(1.0));
  EXPECT_EQ(sound->Play(false), -1);
  EXPECT_EQ(sound->Play(true), -1);
  EXPECT_TRUE(sound->GetData().mHandles.empty());
  Step(1000);
  EXPECT_EQ(mManager->GetLiveCount() + mManager->GetReleaseCount(), 0);
  EXPECT_EQ(mManager->GetDevice(), nullptr);
}

TEST_F(SoundTest, StopGroupStopsOnlyThatGroupOrEverything) {
  auto effect = Sound(ToneOgg(1.0), TSoundManager::kGroupEffects);
  auto music = Sound(ToneOgg(2.01), TSoundManager::kGroupMusic);
  effect->Play(true);
  music->Play(true);
  music->Play(true);
  mManager->StopGroup(TSoundManager::kGroupMusic);
  EXPECT_TRUE(music->GetData().mHandles.empty());
  EXPECT_EQ(effect->GetData().mHandles.size(), 1u);
  music->Play(true);
  mManager->StopGroup(-1);
  EXPECT_EQ(mManager->GetLiveCount(), 0);
  EXPECT_TRUE(effect->GetData().mHandles.empty());
  EXPECT_TRUE(music->GetData().mHandles.empty());
}

TEST_F(SoundTest, FocusLossSilencesEverythingAndItsReturnKeepsTheGamesPauses) {
  auto effect = Sound(ToneOgg(1.0));
  auto music = Sound(ToneOgg(2.01), TSoundManager::kGroupMusic);
  const int playing = effect->Play(true);
  const int paused = music->Play(true);
  music->Pause(true, paused);
  Step(100);

  mManager->SetActive(false);
  mOutput->ClearCaptured();
  Step(500);
  EXPECT_EQ(SoundEnd(MixedLeft()), 0u);
  // A sound started meanwhile waits for the focus too.
  const int late = effect->Play(true);
  Step(100);
  EXPECT_EQ(SoundEnd(MixedLeft()), 0u);

  mManager->SetActive(true);
  EXPECT_FALSE(effect->GetData().mHandles.at(playing)->IsPaused());
  EXPECT_FALSE(effect->GetData().mHandles.at(late)->IsPaused());
  EXPECT_TRUE(music->GetData().mHandles.at(paused)->IsPaused());
  mOutput->ClearCaptured();
  Step(100);
  EXPECT_GT(SoundEnd(MixedLeft()), 0u);
}

TEST_F(SoundTest, VolumeTableAndGroupVolumesReachTheBuffers) {
  struct {
    float volume;
    int attenuation;
  } table[] = {{0.0f, -10000},  {0.5f, -2500}, {1.0f, 0},      {0.25f, -3750},
               {-0.5f, -10000}, {1.5f, 0},     {0.001f, -4995}};
  for (auto row : table)
    EXPECT_EQ(TSoundStream::VolumeToAttenuation(row.volume), row.attenuation) << row.volume;

  auto effect = Sound(ToneOgg(1.0), TSoundManager::kGroupEffects);
  effect->Play(true);
  TAudioBuffer* buffer = effect->GetData().mHandles.at(0)->GetBuffer();
  EXPECT_EQ(buffer->GetVolume(), 0);
  mManager->SetMasterVolume(0.5f);
  mManager->SetGroupVolume(TSoundManager::kGroupEffects, 0.64f);
  EXPECT_FLOAT_EQ(mManager->GetGroupVolume(TSoundManager::kGroupEffects), 0.32f);
  EXPECT_FLOAT_EQ(mManager->GetGroupVolume(-1), 0.5f);
  EXPECT_FLOAT_EQ(mManager->GetGroupVolume(5), 0.5f);
  EXPECT_EQ(buffer->GetVolume(), TSoundStream::VolumeToAttenuation(0.32f));

  // The host's mute: master 0 silences the output.
  mManager->SetMasterVolume(0.0f);
  EXPECT_EQ(buffer->GetVolume(), -10000);
  mOutput->ClearCaptured();
  Step(200);
  EXPECT_EQ(SoundEnd(MixedLeft()), 0u);
}

}  // namespace
