// Whether the window script carries its script library (DoModal, DisplayDialog and the rest
// of the Lua side of the window interface), which the game's own screens are written in.
// Tests of those screens skip themselves without it.
#pragma once

#include "tvlib/ui/TWindowScript.h"

inline bool WindowScriptHasItsLibrary() {
  TWindowScript script;
  lua_State* L = script.GetState();
  bool has = true;
  for (const char* name : {"DoModal", "DisplayDialog", "MakeDialog", "Pause", "PopModal"}) {
    lua_pushstring(L, name);
    lua_gettable(L, LUA_GLOBALSINDEX);
    has = has && lua_isfunction(L, -1);
    lua_pop(L, 1);
  }
  return has;
}
