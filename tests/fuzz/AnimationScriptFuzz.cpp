// Fuzz target: an animation script (source text) defined in a sprite's own state with the
// animation library, then its DoAnim run and resumed a few times, under a small script budget.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/FuzzLog.h"
#include "tests/fuzz/ScriptFuzzRunner.h"
#include "tvlib/media/TAnimatedSprite.h"
#include "tvlib/script/TScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("animation_script");
  SetAssetScriptBudgetForTests(tvfuzz::kFuzzScriptBudget);
  {
    auto sprite = TAnimatedSprite::Create(0);
    sprite->StartAnimationScript();
    TScript* script = sprite->GetAnimationScript();
    const std::string text(reinterpret_cast<const char*>(data), size);
    script->DoLuaString(text.c_str(), static_cast<int>(text.size()));
    sprite->RunScriptFunction("DoAnim");
    for (int step = 0; step < 4 && script->IsYielded(); ++step) script->Animate();
    sprite->Die();
  }
  SetAssetScriptBudgetForTests(std::nullopt);
  return 0;
}
