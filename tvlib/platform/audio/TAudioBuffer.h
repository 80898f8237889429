// One secondary sound buffer of the audio device: 16-bit PCM at its own rate and channel
// count, filled by its owner through Lock/Unlock and played by the device's mixer.
//
// Cursor rules (the stream code relies on them to end every sound exactly once):
// - the play cursor is the byte offset of the next frame the mixer takes;
// - the write cursor is the play cursor plus a lead of 10 ms (at least one frame), capped at
//   the buffer's end and never wrapped, so it is always above the play cursor while a sound
//   is in the buffer;
// - a buffer played once that runs off its end stops with both cursors at 0;
// - Stop keeps the position; Play continues from it.
// Lock hands out a staging copy of up to two regions (the second when the range wraps);
// Unlock copies it into the buffer under the device lock, so the mixer never reads memory
// that is being written. Every call is safe from any thread.
#pragma once

#include <cstdint>
#include <vector>

class TAudioMixer;

class TAudioBuffer {
 public:
  ~TAudioBuffer();
  TAudioBuffer(const TAudioBuffer&) = delete;
  TAudioBuffer& operator=(const TAudioBuffer&) = delete;

  int GetSize() const { return mBytes; }
  int GetRate() const { return mRate; }
  int GetChannels() const { return mChannels; }
  // `bytes` at `offset` (both frame-aligned, inside the buffer); a range past the end goes on
  // from the start in the second region. False for a bad range or while another lock is out.
  bool Lock(int offset, int bytes, void** first, int* firstBytes, void** second, int* secondBytes);
  void Unlock();
  void Play(bool looping);
  void Stop();
  void GetCurrentPosition(int* play, int* write) const;
  // Hundredths of a decibel, -10000 (silent) to 0 (as written); values outside are clamped.
  void SetVolume(int hundredthsOfDb);
  int GetVolume() const;
  bool IsPlaying() const;
  bool IsLooping() const;

 private:
  friend class TAudioMixer;
  TAudioBuffer(TAudioMixer* mixer, int rate, int channels, int bytes);

  int FrameCount() const { return mBytes / (2 * mChannels); }

  TAudioMixer* mMixer;
  const int mRate;
  const int mChannels;
  const int mBytes;
  const uint64_t mStep;  // source frames per output frame, 32.32 fixed point
  const int mLeadBytes;
  std::vector<int16_t> mSamples;
  // Only the locking thread touches these between Lock and Unlock.
  std::vector<uint8_t> mStaging;
  int mLockOffset = -1;
  int mLockBytes = 0;
  // Guarded by the mixer's lock.
  uint64_t mPosition = 0;  // source frame, 32.32 fixed point
  bool mPlaying = false;
  bool mLooping = false;
  bool mRanOff = false;  // a one-shot that played to its end: both cursors read 0
  int mVolume = 0;
  int32_t mGain = 65536;  // Q16
};
