// math.random's source over the engine's generator.
#include "tvlib/script/TScriptRandom.h"

#include "tvlib/core/TRandom.h"
#include "tvlib/script/Libs.h"

namespace {

void Seed(unsigned seed) {
  TvSrand(seed);
}

constexpr luaL_RandomSource kEngineRandom = {TvRand, Seed, kRandMax};

}  // namespace

void UseEngineRandomForScripts() {
  luaL_setrandomsource(&kEngineRandom);
}
