// An output without a sound card: a thread of its own mixes, every 10 ms on the steady clock,
// as many frames as the wall clock says are due and hands them to Consume. While no buffer
// plays the thread sleeps until one starts, then hands the time it slept to Consume as
// silence, so the output's frames still follow the clock. The null output drops them; the
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
  // Hands `frames` frames of silence to Consume.
  void ConsumeSilence(int64_t frames);

  TAudioMixer* mMixer = nullptr;
  std::thread mThread;
  std::mutex mQuitLock;
  std::condition_variable mQuitSignal;
  bool mQuit = false;
  bool mStarted = false;  // a buffer started playing since the thread last looked
};

// Plays into nothing at the pace of the wall clock.
class TNullAudioOutput : public TPacedAudioOutput {
 public:
  ~TNullAudioOutput() override { Stop(); }

 protected:
  void Consume(const int16_t*, int) override {}
};
