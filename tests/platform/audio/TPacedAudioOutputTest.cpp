// The outputs without a sound card: asleep while nothing plays, awake as soon as a buffer
// starts, and the frames handed on (silence for the time asleep) still follow the clock.
#include "tvlib/platform/audio/TPacedAudioOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "tvlib/platform/audio/TAudioMixer.h"

namespace {

// Counts the blocks and frames it is handed, and the samples that are not silent.
class TCountingOutput : public TPacedAudioOutput {
 public:
  ~TCountingOutput() override { Stop(); }
  std::atomic<int> blocks{0};
  std::atomic<int64_t> frames{0};
  std::atomic<int64_t> sounding{0};

 protected:
  void Consume(const int16_t* samples, int count) override {
    ++blocks;
    frames += count;
    for (int i = 0; i < 2 * count; ++i) sounding += samples[i] != 0;
  }
};

TEST(PacedAudioOutput, SleepsWhileNothingPlaysAndKeepsToTheClock) {
  using Clock = std::chrono::steady_clock;
  TAudioMixer mixer;
  TCountingOutput output;
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(output.Start(&mixer));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // One mix after the first period found nothing playing; then the thread slept (paced, it
  // would have mixed about 30 times by now).
  EXPECT_LE(output.blocks.load(), 2);

  auto buffer = mixer.CreateBuffer(44100, 1, 4410 * 2);
  void* first;
  void* second;
  int firstBytes, secondBytes;
  ASSERT_TRUE(buffer->Lock(0, buffer->GetSize(), &first, &firstBytes, &second, &secondBytes));
  std::fill_n(static_cast<int16_t*>(first), firstBytes / 2, int16_t(1000));
  buffer->Unlock();
  buffer->Play(false);
  const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(10);
  while (output.sounding.load() < 2 * 4410 && Clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(output.sounding.load(), 2 * 4410);  // the whole sound, once
  output.Stop();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  // Every frame the clock made due by the stop, silence included (the sound has ended, so the
  // thread was asleep): none ahead of the clock, and none missing but those of the time the
  // stop took.
  EXPECT_LE(double(output.frames.load()), elapsed * 44100);
  EXPECT_GE(double(output.frames.load()), (elapsed - 0.25) * 44100);
}

}  // namespace
