// The script libraries. Each opener registers its functions in the globals of a state:
// base (with the coroutine table, `_LOADED' and the registry's per-type tables), string
// (which becomes the per-type table of strings), table and math (which sets the global
// `__pow' that the power operator calls).
#pragma once

#include "tvlib/script/Api.h"

void luaopen_base(lua_State* L);
void luaopen_string(lua_State* L);
void luaopen_table(lua_State* L);
void luaopen_math(lua_State* L);
// Opens all four.
void luaopen_all(lua_State* L);
