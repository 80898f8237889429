// The shared particle generator, its lifetime count and its seeding.
#include "tvlib/media/TParticleRandom.h"

#include <memory>

#include "tvlib/core/TGuid.h"
#include "tvlib/media/TMersenneTwister.h"

namespace {
std::unique_ptr<TMersenneTwister> gGenerator;
int gLiveSystems = 0;
std::optional<uint32_t> gTestSeed;

TMersenneTwister& Generator() {
  if (!gGenerator) {
    // Draws outside any system's life still need a source; it lives until the next Release.
    gGenerator = std::make_unique<TMersenneTwister>();
  }
  return *gGenerator;
}
}  // namespace

namespace ParticleRandom {

void Acquire() {
  if (gLiveSystems++ > 0 && gGenerator) return;
  gGenerator = std::make_unique<TMersenneTwister>();
  if (gTestSeed) {
    gGenerator->Seed(*gTestSeed);
    return;
  }
  uint8_t guid[16];
  MakeGuid(guid);
  uint32_t words[4];
  for (int w = 0; w < 4; ++w)
    words[w] = static_cast<uint32_t>(guid[4 * w]) | static_cast<uint32_t>(guid[4 * w + 1]) << 8 |
               static_cast<uint32_t>(guid[4 * w + 2]) << 16 |
               static_cast<uint32_t>(guid[4 * w + 3]) << 24;
  gGenerator->SeedArray(words, 4);
}

void Release() {
  if (gLiveSystems > 0 && --gLiveSystems == 0) gGenerator.reset();
}

bool IsAlive() {
  return gGenerator != nullptr;
}

void SetSeedForTests(std::optional<uint32_t> seed) {
  gTestSeed = seed;
}

float RandomFloat() {
  return static_cast<float>(Generator().Next() * (1.0 / 4294967296.0));
}

int RandomRange(int lo, int hi) {
  if (hi <= lo) return lo;
  const int64_t span = static_cast<int64_t>(hi) - lo + 1;
  const int64_t step =
      static_cast<int64_t>(static_cast<double>(RandomFloat()) * static_cast<double>(span));
  return static_cast<int>(lo + (step < span ? step : span - 1));
}

}  // namespace ParticleRandom
