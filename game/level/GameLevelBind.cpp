// The level's script functions, globals of the window script bound to the level while it
// lives: PauseAction(code), DoPause(), DumpMetricsData(), PauseAnims(flag), CurrentVenue(),
// CurrentLevel(), HidePlanningButtons() and RevealPlanningButtons().
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
  lua_State* L = script->GetState();
  mBindings.Bind(L, "PauseAction", this, &TGameLevel::PauseAction);
  mBindings.Bind(L, "DoPause", this, &TGameLevel::DoPause);
  mBindings.Bind(L, "DumpMetricsData", this, &TGameLevel::DumpMetricsData);
  mBindings.Bind(L, "PauseAnims", this, &TGameLevel::PauseAnims);
  mBindings.Bind(L, "CurrentVenue", this, &TGameLevel::CurrentVenue);
  mBindings.Bind(L, "CurrentLevel", this, &TGameLevel::CurrentLevel);
  mBindings.Bind(L, "HidePlanningButtons", this, &TGameLevel::HidePlanningButtons);
  mBindings.Bind(L, "RevealPlanningButtons", this, &TGameLevel::RevealPlanningButtons);
}
