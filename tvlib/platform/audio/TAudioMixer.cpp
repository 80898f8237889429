// Summing the playing buffers into the output format.
#include "tvlib/platform/audio/TAudioMixer.h"

#include <algorithm>

namespace {

constexpr uint64_t kOne = uint64_t(1) << 32;

// Adds n frames of a buffer at the output's own rate, sample for sample, at Q16 gain: what
// the interpolating loop gives at a whole frame (a zero fraction takes the frame itself). A
// sample times a gain of at most 65536 fits 32 bits, so the loop vectorises.
void AddStraight(const int16_t* samples, int channels, int32_t gain, int32_t* sum, int n) {
  if (channels == 2) {
    for (int k = 0; k < 2 * n; ++k) sum[k] += (int32_t(samples[k]) * gain) >> 16;
    return;
  }
  for (int k = 0; k < n; ++k) {
    const int32_t v = (int32_t(samples[k]) * gain) >> 16;
    sum[2 * k] += v;
    sum[2 * k + 1] += v;
  }
}

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

bool TAudioMixer::AnyPlaying() const {
  std::lock_guard<std::mutex> guard(mLock);
  return std::any_of(mBuffers.begin(), mBuffers.end(),
                     [](const TAudioBuffer* buffer) { return buffer->mPlaying; });
}

void TAudioMixer::SetStartHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> guard(mLock);
  mStartHook = std::move(hook);
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
  if (buffer.mStep == kOne && (position & (kOne - 1)) == 0) {
    // At the output's rate from a whole frame: runs of frames up to the buffer's end.
    uint64_t index = position >> 32;
    for (int i = 0; i < frames;) {
      if (index >= count) {
        if (!looping) break;
        index -= count;
      }
      const int n = int(std::min<uint64_t>(uint64_t(frames - i), count - index));
      AddStraight(samples + index * channels, channels, int32_t(gain), sum + 2 * i, n);
      i += n;
      index += uint64_t(n);
    }
    position = index << 32;
  } else {
    position = MixInterpolated(buffer, position, frames);
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

uint64_t TAudioMixer::MixInterpolated(const TAudioBuffer& buffer, uint64_t position, int frames) {
  const int16_t* samples = buffer.mSamples.data();
  const uint64_t count = uint64_t(buffer.FrameCount());
  const uint64_t end = count << 32;
  const int channels = buffer.mChannels;
  const int64_t gain = buffer.mGain;
  const bool looping = buffer.mLooping;
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
  return position;
}
