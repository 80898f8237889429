// The audio device's buffers and mixer: locking, the cursor rules, one-shot and looping
// play, resampling, mono to stereo, gain and saturation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tvlib/platform/audio/TAudioDevice.h"
#include "tvlib/platform/audio/TManualAudioOutput.h"

namespace {

class AudioDevice : public ::testing::Test {
 protected:
  AudioDevice() {
    auto output = std::make_unique<TManualAudioOutput>();
    mOutput = output.get();
    mOutput->SetCapture(true);
    mDevice = TAudioDevice::Open(std::move(output));
  }

  // A buffer holding `samples` (interleaved).
  std::unique_ptr<TAudioBuffer> Buffer(int rate, int channels,
                                       const std::vector<int16_t>& samples) {
    auto buffer = mDevice->CreateBuffer(rate, channels, int(samples.size() * 2));
    void* first;
    void* second;
    int firstBytes, secondBytes;
    EXPECT_TRUE(buffer->Lock(0, buffer->GetSize(), &first, &firstBytes, &second, &secondBytes));
    std::memcpy(first, samples.data(), size_t(firstBytes));
    buffer->Unlock();
    return buffer;
  }

  std::vector<int16_t> Mix(int frames) {
    mOutput->ClearCaptured();
    mOutput->Advance(frames);
    return mOutput->GetCaptured();
  }

  TManualAudioOutput* mOutput = nullptr;
  std::unique_ptr<TAudioDevice> mDevice;
};

TEST_F(AudioDevice, RefusesBuffersItCannotPlay) {
  struct {
    int rate, channels, bytes;
  } bad[] = {{44100, 3, 600}, {44100, 0, 600}, {999, 2, 600},         {192001, 1, 600},
             {44100, 2, 0},   {44100, 2, 6},   {44100, 1, 0x10000000}};
  for (auto row : bad) EXPECT_FALSE(mDevice->CreateBuffer(row.rate, row.channels, row.bytes));
  EXPECT_TRUE(mDevice->CreateBuffer(22050, 1, 2));
}

TEST_F(AudioDevice, LockWrapsIntoASecondRegionAndChecksItsRange) {
  auto buffer = mDevice->CreateBuffer(44100, 2, 400);
  void* first;
  void* second;
  int firstBytes, secondBytes;
  ASSERT_TRUE(buffer->Lock(320, 160, &first, &firstBytes, &second, &secondBytes));
  EXPECT_EQ(firstBytes, 80);
  EXPECT_EQ(secondBytes, 80);
  ASSERT_NE(second, nullptr);
  // A second lock before the first is given back is refused.
  EXPECT_FALSE(buffer->Lock(0, 4, &first, &firstBytes, &second, &secondBytes));
  buffer->Unlock();
  EXPECT_FALSE(buffer->Lock(400, 4, &first, &firstBytes, &second, &secondBytes));
  EXPECT_FALSE(buffer->Lock(-4, 4, &first, &firstBytes, &second, &secondBytes));
  EXPECT_FALSE(buffer->Lock(0, 404, &first, &firstBytes, &second, &secondBytes));
  EXPECT_FALSE(buffer->Lock(2, 4, &first, &firstBytes, &second, &secondBytes));
}

TEST_F(AudioDevice, CursorsFollowTheRulesAOneShotEndsAtZero) {
  // One second of mono at 44100 Hz: the lead is 441 frames (882 bytes).
  auto buffer = Buffer(44100, 1, std::vector<int16_t>(44100, 1000));
  int play = -1, write = -1;
  buffer->GetCurrentPosition(&play, &write);
  EXPECT_EQ(play, 0);
  EXPECT_EQ(write, 882);
  buffer->Play(false);
  Mix(1000);
  buffer->GetCurrentPosition(&play, &write);
  EXPECT_EQ(play, 2000);
  EXPECT_EQ(write, 2882);
  // Stop keeps the place.
  buffer->Stop();
  Mix(1000);
  buffer->GetCurrentPosition(&play, &write);
  EXPECT_EQ(play, 2000);
  buffer->Play(false);
  Mix(42900);
  buffer->GetCurrentPosition(&play, &write);
  EXPECT_EQ(play, 87800);
  EXPECT_EQ(write, 88200);  // capped at the end, not wrapped
  std::vector<int16_t> tail = Mix(400);
  EXPECT_FALSE(buffer->IsPlaying());
  buffer->GetCurrentPosition(&play, &write);
  EXPECT_EQ(play, 0);
  EXPECT_EQ(write, 0);
  EXPECT_EQ(tail[2 * 199], 1000);
  EXPECT_EQ(tail[2 * 200], 0);
}

TEST_F(AudioDevice, ALoopingBufferWrapsWithoutAGap) {
  auto buffer = Buffer(44100, 2, {1, -1, 2, -2, 3, -3});
  buffer->Play(true);
  std::vector<int16_t> mixed = Mix(7);
  EXPECT_EQ(mixed, (std::vector<int16_t>{1, -1, 2, -2, 3, -3, 1, -1, 2, -2, 3, -3, 1, -1}));
  int play;
  buffer->GetCurrentPosition(&play, nullptr);
  EXPECT_EQ(play, 4);
}

TEST_F(AudioDevice, MonoAtHalfTheRateIsSpreadAndInterpolated) {
  auto buffer = Buffer(22050, 1, {0, 1000, 2000, 3000});
  buffer->Play(false);
  std::vector<int16_t> mixed = Mix(10);
  EXPECT_EQ(mixed, (std::vector<int16_t>{0,    0,    500,  500,  1000, 1000, 1500, 1500, 2000, 2000,
                                         2500, 2500, 3000, 3000, 3000, 3000, 0,    0,    0,    0}));
}

TEST_F(AudioDevice, GainFollowsTheDecibelsAndTheSumSaturates) {
  auto a = Buffer(44100, 1, std::vector<int16_t>(100, 20000));
  auto b = Buffer(44100, 1, std::vector<int16_t>(100, 20000));
  a->Play(true);
  b->Play(true);
  EXPECT_EQ(Mix(1)[0], 32767);
  a->SetVolume(-10000);
  EXPECT_EQ(Mix(1)[0], 20000);
  a->SetVolume(-20000);  // clamped
  EXPECT_EQ(a->GetVolume(), -10000);
  b->SetVolume(-600);  // about half
  EXPECT_NEAR(Mix(1)[0], 20000 * std::pow(10.0, -0.3), 1.0);
  b->SetVolume(0);
  a->SetVolume(0);
  for (auto* buffer : {a.get(), b.get()}) {
    void* first;
    void* second;
    int n1, n2;
    buffer->Lock(0, 200, &first, &n1, &second, &n2);
    for (int i = 0; i < 100; ++i) static_cast<int16_t*>(first)[i] = -30000;
    buffer->Unlock();
  }
  EXPECT_EQ(Mix(1)[0], -32768);
}

}  // namespace
