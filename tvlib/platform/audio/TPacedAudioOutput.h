// An output without a sound card: a thread of its own mixes, every 10 ms, as many frames as
// the wall clock says are due and hands them to Consume. The null output drops them; the
// WAV output writes them to a file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "tvlib/platform/audio/TAudioOutput.h"

class TPacedAudioOutput : public TAudioOutput {
 public:
  ~TPacedAudioOutput() override;
  bool Start(TAudioMixer* mixer) override;
  void Stop() override;

 protected:
  // Called on the output's thread with interleaved stereo samples.
  virtual void Consume(const int16_t* samples, int frames) = 0;

 private:
  void Run();

  TAudioMixer* mMixer = nullptr;
  std::thread mThread;
  std::mutex mQuitLock;
  std::condition_variable mQuitSignal;
  bool mQuit = false;
};

// Plays into nothing at the pace of the wall clock.
class TNullAudioOutput : public TPacedAudioOutput {
 public:
  ~TNullAudioOutput() override { Stop(); }

 protected:
  void Consume(const int16_t*, int) override {}
};
