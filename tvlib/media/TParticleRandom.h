// The random source shared by every particle system and operator: one Mersenne Twister,
// made and seeded from a fresh GUID by the first live system and deleted with the last.
// Tests may fix the seed the next generator is made with. UI thread only.
#pragma once

#include <cstdint>
#include <optional>

namespace ParticleRandom {

// A particle system comes and goes; the generator lives while any system does.
void Acquire();
void Release();
bool IsAlive();

// The seed of the next generator made (instead of a GUID); nullopt restores GUID seeding.
void SetSeedForTests(std::optional<uint32_t> seed);

// The next output scaled by 2^-32 and rounded to a float, so within [0, 1].
float RandomFloat();
// lo + truncate(RandomFloat() * (hi - lo + 1)); both bounds inclusive. The rare draw of
// exactly 1.0 is kept at hi, and hi below lo answers lo.
int RandomRange(int lo, int hi);

}  // namespace ParticleRandom
