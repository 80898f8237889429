// The pacing thread of the outputs without a sound card.
#include "tvlib/platform/audio/TPacedAudioOutput.h"

#include <chrono>

#include "tvlib/platform/audio/TAudioMixer.h"

TPacedAudioOutput::~TPacedAudioOutput() {
  Stop();
}

bool TPacedAudioOutput::Start(TAudioMixer* mixer) {
  if (mThread.joinable()) return true;
  mMixer = mixer;
  mQuit = false;
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
}

void TPacedAudioOutput::Run() {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  int64_t mixed = 0;
  std::vector<int16_t> block;
  std::unique_lock<std::mutex> lock(mQuitLock);
  while (!mQuit) {
    mQuitSignal.wait_for(lock, std::chrono::milliseconds(10));
    if (mQuit) break;
    lock.unlock();
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    int64_t due = elapsed.count() * TAudioMixer::kRate / 1000000;
    int frames = int(due - mixed);
    if (frames > 0) {
      block.resize(size_t(frames) * TAudioMixer::kChannels);
      mMixer->Mix(block.data(), frames);
      Consume(block.data(), frames);
      mixed = due;
    }
    lock.lock();
  }
}
