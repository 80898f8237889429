// The engine's random generator.
//
// Reproduces the 15-bit linear congruential sequence the game was designed and balanced
// with (state = state * 214013 + 2531011; value = (state >> 16) & 0x7fff), so gameplay
// is the same on every machine and reproducible in tests. The C library's rand() is not
// used anywhere. One process-wide sequence, drawn from the UI thread only.
#pragma once

#include <cstdint>

inline constexpr int kRandMax = 0x7fff;

// Restarts the sequence; the first value after TvSrand(1) is 41.
void TvSrand(uint32_t seed);

// The next value of the sequence, 0 to kRandMax.
int TvRand();

// A sequence of its own, for code that must not disturb the shared one.
class TRandom {
 public:
  explicit TRandom(uint32_t seed = 1) : mState(seed) {}
  void Seed(uint32_t seed) { mState = seed; }
  int Next() {
    mState = mState * 214013u + 2531011u;
    return static_cast<int>((mState >> 16) & kRandMax);
  }

 private:
  uint32_t mState;
};
