// The audio device's mixer: sums every playing buffer into 44100 Hz interleaved stereo
// 16-bit, resampling each buffer linearly from its own rate (a buffer at 44100 Hz is added
// sample for sample, in a loop of its own), spreading mono to both sides, applying each buffer's
// gain and saturating the sum. Mix runs on the output's thread; it takes the device lock, which
// every buffer call shares, and never calls out of the platform layer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "tvlib/platform/audio/TAudioBuffer.h"

class TAudioMixer {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  TAudioMixer() = default;
  // Buffers must be gone before the mixer.
  ~TAudioMixer() = default;
  TAudioMixer(const TAudioMixer&) = delete;
  TAudioMixer& operator=(const TAudioMixer&) = delete;

  // A stopped, silent buffer at 0 dB; null for rates outside 1000..192000, channel counts
  // other than 1 and 2, or sizes that are not a positive whole number of frames up to
  // 0x0FFFFFFF bytes.
  std::unique_ptr<TAudioBuffer> CreateBuffer(int rate, int channels, int bytes);
  // Writes `frames` stereo frames (2 x frames samples) and moves every playing buffer on.
  void Mix(int16_t* out, int frames);
  // Whether any buffer is playing: while none is, Mix gives silence and moves nothing on.
  bool AnyPlaying() const;
  // Called when a buffer starts playing, under the mixer's lock (it must not call the mixer or
  // a buffer): an output that sleeps while nothing plays wakes on it. Empty removes it.
  void SetStartHook(std::function<void()> hook);

 private:
  friend class TAudioBuffer;
  void MixBuffer(TAudioBuffer& buffer, int frames);
  // Resamples a buffer linearly from `position` (32.32 source frames) into mSum; answers the
  // position after, which may lie past the end.
  uint64_t MixInterpolated(const TAudioBuffer& buffer, uint64_t position, int frames);
  void Remove(TAudioBuffer* buffer);

  mutable std::mutex mLock;
  std::function<void()> mStartHook;
  std::vector<TAudioBuffer*> mBuffers;
  std::vector<int32_t> mSum;
};
