// Fuzz target: arbitrary effect-script text loaded by a particle system and run for a few
// updates, in a state with the script targets' memory and instruction budgets, so whatever
// an effect file holds stays bounded in time and memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/ScriptFuzzRunner.h"
#include "tvlib/media/TLuaParticleSystem.h"
#include "tvlib/media/TParticleRandom.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ParticleRandom::SetSeedForTests(5489u);
  TScriptLimits limits(tvfuzz::kFuzzScriptBudget);
  lua_State* L = limits.OpenState();
  if (L == nullptr) return 0;
  {
    TLuaParticleSystem system(L);
    if (system.Load(text.c_str())) {
      for (int step = 0; step < 4; ++step) system.Update(20);
    }
  }
  ParticleRandom::SetSeedForTests(std::nullopt);
  return 0;
}
