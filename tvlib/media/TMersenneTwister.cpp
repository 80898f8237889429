// The Mersenne Twister's seeding, state refill and output tempering.
#include "tvlib/media/TMersenneTwister.h"

namespace {
constexpr int kShift = 397;  // the middle word of the recurrence
constexpr uint32_t kMatrix = 0x9908b0dfu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7fffffffu;
}  // namespace

void TMersenneTwister::Seed(uint32_t seed) {
  mState[0] = seed;
  for (int i = 1; i < kStateWords; ++i)
    mState[i] = 1812433253u * (mState[i - 1] ^ (mState[i - 1] >> 30)) + static_cast<uint32_t>(i);
  mIndex = kStateWords;
}

void TMersenneTwister::SeedArray(const uint32_t* words, size_t count) {
  Seed(19650218u);
  int i = 1;
  size_t j = 0;
  for (size_t k = (kStateWords > count ? kStateWords : count); k > 0; --k) {
    mState[i] = (mState[i] ^ ((mState[i - 1] ^ (mState[i - 1] >> 30)) * 1664525u)) + words[j] +
                static_cast<uint32_t>(j);
    ++i;
    ++j;
    if (i >= kStateWords) {
      mState[0] = mState[kStateWords - 1];
      i = 1;
    }
    if (j >= count) j = 0;
  }
  for (int k = kStateWords - 1; k > 0; --k) {
    mState[i] = (mState[i] ^ ((mState[i - 1] ^ (mState[i - 1] >> 30)) * 1566083941u)) -
                static_cast<uint32_t>(i);
    ++i;
    if (i >= kStateWords) {
      mState[0] = mState[kStateWords - 1];
      i = 1;
    }
  }
  mState[0] = 0x80000000u;  // the state is never all zeros
  mIndex = kStateWords;
}

void TMersenneTwister::Refill() {
  for (int k = 0; k < kStateWords; ++k) {
    const uint32_t y = (mState[k] & kUpper) | (mState[(k + 1) % kStateWords] & kLower);
    mState[k] = mState[(k + kShift) % kStateWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
  }
  mIndex = 0;
}

uint32_t TMersenneTwister::Next() {
  if (mIndex >= kStateWords) Refill();
  uint32_t y = mState[mIndex++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9d2c5680u;
  y ^= (y << 15) & 0xefc60000u;
  y ^= y >> 18;
  return y;
}
