// The 32-bit Mersenne Twister (MT19937): a 624-word state, seeding from one word or from an
// array of words, and tempered 32-bit outputs, exactly as the generator was published, so
// a seed gives the published sequence (seed 5489 starts 3499211612, 581869302, ...).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class TMersenneTwister {
 public:
  static constexpr int kStateWords = 624;

  explicit TMersenneTwister(uint32_t seed = 5489u) { Seed(seed); }

  void Seed(uint32_t seed);
  void SeedArray(const uint32_t* words, size_t count);
  uint32_t Next();

 private:
  void Refill();

  std::array<uint32_t, kStateWords> mState{};
  int mIndex = kStateWords;
};
