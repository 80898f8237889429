// Fuzz target: arbitrary bytes loaded as an effect file (source or precompiled) into an
// effect list, whose effects are then updated and drawn for a few frames. The file and every
// particle script it names run in states with the script targets' memory and instruction
// budgets, so whatever an effect file holds stays bounded in time and memory.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "game/fx/TParticleSpecialEffect.h"
#include "game/fx/TSpecialEffectList.h"
#include "tests/fuzz/ScriptFuzzRunner.h"
#include "tvlib/media/TParticleRandom.h"

namespace {

// The limits of the states made for one input; they outlive those states.
std::deque<TScriptLimits> gLimits;

lua_State* BudgetedState() {
  return gLimits.emplace_back(tvfuzz::kFuzzScriptBudget).OpenState();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ParticleRandom::SetSeedForTests(5489u);
  TParticleSpecialEffect::SetScriptStateSource(BudgetedState);
  if (lua_State* L = BudgetedState()) {
    TSpecialEffectList list;
    list.LoadFromMemory(reinterpret_cast<const char*>(data), size, nullptr, L);
    for (int frame = 0; frame < 4; ++frame) {
      list.Update(0.02f);
      list.Draw(1.0f);
    }
    list.SetTimeout(0, 0.01f);
  }
  gLimits.clear();
  TParticleSpecialEffect::SetScriptStateSource(nullptr);
  ParticleRandom::SetSeedForTests(std::nullopt);
  return 0;
}
