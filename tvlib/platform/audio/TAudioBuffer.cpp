// The secondary buffer's locking, cursors, play state and volume.
#include "tvlib/platform/audio/TAudioBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tvlib/platform/audio/TAudioMixer.h"

TAudioBuffer::TAudioBuffer(TAudioMixer* mixer, int rate, int channels, int bytes)
    : mMixer(mixer),
      mRate(rate),
      mChannels(channels),
      mBytes(bytes),
      mStep((uint64_t(rate) << 32) / TAudioMixer::kRate),
      mLeadBytes(std::max(1, rate / 100) * 2 * channels),
      mSamples(size_t(bytes) / 2, 0) {}

TAudioBuffer::~TAudioBuffer() {
  mMixer->Remove(this);
}

bool TAudioBuffer::Lock(int offset, int bytes, void** first, int* firstBytes, void** second,
                        int* secondBytes) {
  const int block = 2 * mChannels;
  if (mLockOffset >= 0 || offset < 0 || offset >= mBytes || bytes <= 0 || bytes > mBytes ||
      offset % block != 0 || bytes % block != 0)
    return false;
  mStaging.resize(size_t(bytes));
  int head = std::min(bytes, mBytes - offset);
  {
    std::lock_guard<std::mutex> guard(mMixer->mLock);
    const auto* samples = reinterpret_cast<const uint8_t*>(mSamples.data());
    std::memcpy(mStaging.data(), samples + offset, size_t(head));
    std::memcpy(mStaging.data() + head, samples, size_t(bytes - head));
  }
  mLockOffset = offset;
  mLockBytes = bytes;
  *first = mStaging.data();
  *firstBytes = head;
  *second = bytes > head ? mStaging.data() + head : nullptr;
  *secondBytes = bytes - head;
  return true;
}

void TAudioBuffer::Unlock() {
  if (mLockOffset < 0) return;
  int head = std::min(mLockBytes, mBytes - mLockOffset);
  {
    std::lock_guard<std::mutex> guard(mMixer->mLock);
    auto* samples = reinterpret_cast<uint8_t*>(mSamples.data());
    std::memcpy(samples + mLockOffset, mStaging.data(), size_t(head));
    std::memcpy(samples, mStaging.data() + head, size_t(mLockBytes - head));
  }
  mLockOffset = -1;
  mLockBytes = 0;
}

void TAudioBuffer::Play(bool looping) {
  std::lock_guard<std::mutex> guard(mMixer->mLock);
  mPlaying = true;
  mLooping = looping;
  mRanOff = false;
  if (mMixer->mStartHook) mMixer->mStartHook();
}

void TAudioBuffer::Stop() {
  std::lock_guard<std::mutex> guard(mMixer->mLock);
  mPlaying = false;
}

void TAudioBuffer::GetCurrentPosition(int* play, int* write) const {
  std::lock_guard<std::mutex> guard(mMixer->mLock);
  int at = int(mPosition >> 32) * 2 * mChannels;
  if (play) *play = at;
  if (write) *write = mRanOff ? at : std::min(at + mLeadBytes, mBytes);
}

void TAudioBuffer::SetVolume(int hundredthsOfDb) {
  int volume = std::clamp(hundredthsOfDb, -10000, 0);
  int32_t gain =
      volume <= -10000 ? 0 : int32_t(std::lround(65536.0 * std::pow(10.0, volume / 2000.0)));
  std::lock_guard<std::mutex> guard(mMixer->mLock);
  mVolume = volume;
  mGain = gain;
}

int TAudioBuffer::GetVolume() const {
  std::lock_guard<std::mutex> guard(mMixer->mLock);
  return mVolume;
}

bool TAudioBuffer::IsPlaying() const {
  std::lock_guard<std::mutex> guard(mMixer->mLock);
  return mPlaying;
}

bool TAudioBuffer::IsLooping() const {
  std::lock_guard<std::mutex> guard(mMixer->mLock);
  return mLooping;
}
