// Summing the playing buffers into the output format.
#include "tvlib/platform/audio/TAudioMixer.h"

#include <algorithm>

namespace {

constexpr uint64_t kOne = uint64_t(1) << 32;

}  // namespace

std::unique_ptr<TAudioBuffer> TAudioMixer::CreateBuffer(int rate, int channels, int bytes) {
  if (rate < 1000 || rate > 192000 || (channels != 1 && channels != 2) || bytes <= 0 ||
      bytes > 0x0FFFFFFF || bytes % (2 * channels) != 0)
    return nullptr;
  std::unique_ptr<TAudioBuffer> buffer(new TAudioBuffer(this, rate, channels, bytes));
  std::lock_guard<std::mutex> guard(mLock);
  mBuffers.push_back(buffer.get());
  return buffer;
}

void TAudioMixer::Remove(TAudioBuffer* buffer) {
  std::lock_guard<std::mutex> guard(mLock);
  mBuffers.erase(std::remove(mBuffers.begin(), mBuffers.end(), buffer), mBuffers.end());
}

void TAudioMixer::Mix(int16_t* out, int frames) {
  if (frames <= 0) return;
  std::lock_guard<std::mutex> guard(mLock);
  mSum.assign(size_t(frames) * kChannels, 0);
  for (TAudioBuffer* buffer : mBuffers) {
    if (buffer->mPlaying) MixBuffer(*buffer, frames);
  }
  for (size_t i = 0; i < mSum.size(); ++i)
    out[i] = int16_t(std::clamp<int32_t>(mSum[i], INT16_MIN, INT16_MAX));
}

void TAudioMixer::MixBuffer(TAudioBuffer& buffer, int frames) {
  const int16_t* samples = buffer.mSamples.data();
  const uint64_t count = uint64_t(buffer.FrameCount());
  const uint64_t end = count << 32;
  const int channels = buffer.mChannels;
  const int64_t gain = buffer.mGain;
  const bool looping = buffer.mLooping;
  uint64_t position = buffer.mPosition;
  int32_t* sum = mSum.data();
  for (int i = 0; i < frames; ++i) {
    if (position >= end) {
      if (!looping) break;
      position -= end;
    }
    const uint64_t index = position >> 32;
    const int64_t fraction = int64_t(position & (kOne - 1));
    // The next frame: the start again for a loop, the same frame at a one-shot's end.
    const uint64_t next = index + 1 < count ? index + 1 : (looping ? 0 : index);
    const int16_t* a = samples + index * channels;
    const int16_t* b = samples + next * channels;
    int64_t left = a[0] + (((b[0] - a[0]) * fraction) >> 32);
    int64_t right = channels == 2 ? a[1] + (((b[1] - a[1]) * fraction) >> 32) : left;
    sum[2 * i] += int32_t((left * gain) >> 16);
    sum[2 * i + 1] += int32_t((right * gain) >> 16);
    position += buffer.mStep;
  }
  if (position >= end) {
    if (looping) {
      position %= end;
    } else {
      buffer.mPlaying = false;
      buffer.mRanOff = true;
      position = 0;
    }
  }
  buffer.mPosition = position;
}
