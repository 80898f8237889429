// The pacing thread of the outputs without a sound card.
#include "tvlib/platform/audio/TPacedAudioOutput.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>

#include "tvlib/platform/audio/TAudioMixer.h"

TPacedAudioOutput::~TPacedAudioOutput() {
  Stop();
}

namespace {

constexpr auto kPeriod = std::chrono::milliseconds(10);
// Silence is handed on in blocks of at most this many frames.
constexpr int kSilenceBlock = 4096;

}  // namespace

bool TPacedAudioOutput::Start(TAudioMixer* mixer) {
  if (mThread.joinable()) return true;
  mMixer = mixer;
  mQuit = false;
  mStarted = false;
  mMixer->SetStartHook([this] {
    {
      std::lock_guard<std::mutex> guard(mQuitLock);
      mStarted = true;
    }
    mQuitSignal.notify_all();
  });
  mThread = std::thread(&TPacedAudioOutput::Run, this);
  return true;
}

void TPacedAudioOutput::Stop() {
  if (!mThread.joinable()) return;
  {
    std::lock_guard<std::mutex> guard(mQuitLock);
    mQuit = true;
  }
  mQuitSignal.notify_all();
  mThread.join();
  mMixer->SetStartHook(nullptr);
}

void TPacedAudioOutput::ConsumeSilence(int64_t frames) {
  std::vector<int16_t> silence(size_t(std::min<int64_t>(frames, kSilenceBlock)) *
                               TAudioMixer::kChannels);
  for (; frames > 0; frames -= kSilenceBlock)
    Consume(silence.data(), int(std::min<int64_t>(frames, kSilenceBlock)));
}

void TPacedAudioOutput::Run() {
  pthread_setname_np(pthread_self(), "tv-audio-out");  // for profilers and /proc
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  auto framesDue = [start] {
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    return int64_t(elapsed.count()) * TAudioMixer::kRate / 1000000;
  };
  int64_t mixed = 0;
  bool idle = false;
  Clock::time_point next = start + kPeriod;
  std::vector<int16_t> block;
  std::unique_lock<std::mutex> lock(mQuitLock);
  while (!mQuit) {
    if (idle) {
      // Nothing plays: asleep until a buffer starts; the time asleep passes as silence.
      // A stop hands on the silence up to it too.
      mQuitSignal.wait(lock, [this] { return mQuit || mStarted; });
      const bool quit = mQuit;
      lock.unlock();
      const int64_t due = framesDue();
      ConsumeSilence(due - mixed);
      mixed = due;
      if (quit) break;
      next = Clock::now() + kPeriod;
      lock.lock();
    }
    // A whole period asleep (a stop ends it at once).
    if (mQuitSignal.wait_until(lock, next, [this] { return mQuit; })) break;
    next += kPeriod;
    if (next < Clock::now()) next = Clock::now() + kPeriod;  // fell behind: no burst of wakes
    mStarted = false;
    lock.unlock();
    const int64_t due = framesDue();
    const int frames = int(due - mixed);
    if (frames > 0) {
      block.resize(size_t(frames) * TAudioMixer::kChannels);
      mMixer->Mix(block.data(), frames);
      Consume(block.data(), frames);
      mixed = due;
    }
    const bool playing = mMixer->AnyPlaying();
    lock.lock();
    // A buffer that started after the look above has set mStarted.
    idle = !playing && !mStarted;
  }
}
