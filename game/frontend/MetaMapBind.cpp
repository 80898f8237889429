// The venue map's script functions, globals of the window script bound to the map while it
// lives.
#include "game/frontend/FrontendParts.h"
#include "game/frontend/TMetaMap.h"

void TMetaMap::BindScriptFunctions() {
  lua_State* L = FrontendBindingState("TMetaMap");
  if (!L) return;
  mBindings.Bind(L, "ToLevel", this, &TMetaMap::ToLevel);
  mBindings.Bind(L, "GetCurrentMap", this, &TMetaMap::GetCurrentMap);
  mBindings.Bind(L, "RestartLevel", this, &TMetaMap::RestartLevel);
  mBindings.Bind(L, "PlayButton", this, &TMetaMap::PlayButton);
}
