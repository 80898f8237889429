// The level's script functions, globals of the window script bound to the level while it
// lives; when the level goes, each goes back to what it held before.
#include "game/level/TGameLevel.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

void TGameLevel::BindScriptFunctions() {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (!script) {
    DebugLog("TGameLevel: no window script for its functions");
    return;
  }
  static constexpr TLuaMemberReg<TGameLevel> kFunctions[] = {
      {"PauseAction", BindMember<&TGameLevel::PauseAction>},
      {"DoPause", BindMember<&TGameLevel::DoPause>},
      {"DumpMetricsData", BindMember<&TGameLevel::DumpMetricsData>},
      {"PauseAnims", BindMember<&TGameLevel::PauseAnims>},
      {"CurrentVenue", BindMember<&TGameLevel::CurrentVenue>},
      {"CurrentLevel", BindMember<&TGameLevel::CurrentLevel>},
      {"HidePlanningButtons", BindMember<&TGameLevel::HidePlanningButtons>},
      {"RevealPlanningButtons", BindMember<&TGameLevel::RevealPlanningButtons>},
  };
  mBindings.Bind(script->GetState(), this, kFunctions);
}
