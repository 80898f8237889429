// The engine's one shared random sequence.
#include "tvlib/core/TRandom.h"

namespace {
TRandom gSharedRandom;
}

void TvSrand(uint32_t seed) {
  gSharedRandom.Seed(seed);
}

int TvRand() {
  return gSharedRandom.Next();
}
