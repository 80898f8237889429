// Unpredictable bytes from the kernel (getrandom), standing in for CoCreateGuid's source.
// Not for gameplay: the game's reproducible numbers come from TvRand.
#pragma once

#include <cstddef>

// Fills `count` bytes; answers false when the kernel could not supply them.
bool FillSystemRandom(void* out, size_t count);
